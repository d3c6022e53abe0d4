// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_serial_link.h"

#include <QEvent>
#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "port_device.h"

#ifdef Q_OS_UNIX
#include <termios.h>

#include <cerrno>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velmo {
namespace {

QSerialPort::Parity ToQt(Parity parity) {
    switch (parity) {
        case Parity::None: return QSerialPort::NoParity;
        case Parity::Even: return QSerialPort::EvenParity;
        case Parity::Odd: return QSerialPort::OddParity;
        case Parity::Mark: return QSerialPort::MarkParity;
        case Parity::Space: return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits ToQt(StopBits stop_bits) {
    switch (stop_bits) {
        case StopBits::One: return QSerialPort::OneStop;
        case StopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
        case StopBits::Two: return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

// Only device files can be checked; a Windows port name is not one.
bool DeviceFileGone(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && path.front() == '/' && !std::filesystem::exists(path, ignored);
}

// Qt names its lock file after the path it is given, so an alias is opened
// by its target: otherwise a program using /dev/ttyUSB0 and one using the
// alias /dev/velmo3 would not see each other's lock.
std::string DeviceToOpen(const std::string& path) {
    if (path.empty() || path.front() != '/') return path;
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

bool EndsConnection(QSerialPort::SerialPortError code) {
    return code == QSerialPort::ReadError || code == QSerialPort::WriteError || code == QSerialPort::ResourceError;
}

// A terminal that has been hung up (its USB adapter unplugged, the far end
// of a pseudo-terminal closed) refuses every terminal request with EIO from
// then on; a working one never does.
bool HungUp(QSerialPort& port) {
#ifdef Q_OS_UNIX
    termios settings{};
    return ::tcgetattr(port.handle(), &settings) != 0 && errno == EIO;
#else
    (void)port;
    return false;
#endif
}

// Bytes that the system's serial driver holds and Qt has not taken in yet.
// Only Windows tells this apart: Qt there takes bytes in through the
// driver's "characters received" event and an overlapped read that follows
// it, each completing on its own time, so what an event has delivered can
// lag what the driver already holds by a pause or two.
qint64 HeldByDriver([[maybe_unused]] QSerialPort& port) {
#ifdef Q_OS_WIN
    COMSTAT status{};
    return ClearCommError(port.handle(), nullptr, &status) ? static_cast<qint64>(status.cbInQue) : 0;
#else
    return 0;
#endif
}

}  // namespace

// Watches Qt's own read notifier of the port. From Qt 6.5 on, QSerialPort
// takes the end of file that a hung-up terminal reads as "nothing yet", not
// as an error: no error is signalled, and the notifier fires again at once,
// for ever. When it fires again after a time that brought no bytes, a check
// is queued for after Qt's own handling, so the port is given up only where
// Qt itself has not. The receiver's bytes come one or a few at a time, each
// waking the notifier, and cost no check.
class QtSerialLink::HangUpWatch final : public QObject {
public:
    explicit HangUpWatch(QtSerialLink& link) : link_(link) {}

    // Bytes came in since the notifier last fired.
    void BytesCame() { bytes_came_ = true; }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::SockAct) return false;
        if (fired_before_ && !bytes_came_ && !check_queued_) {
            check_queued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    check_queued_ = false;
                    link_.NoticeHangUp();
                },
                Qt::QueuedConnection);
        }
        fired_before_ = true;
        bytes_came_ = false;
        return false;
    }

private:
    QtSerialLink& link_;
    bool fired_before_ = false;
    bool bytes_came_ = false;
    bool check_queued_ = false;
};

QtSerialLink::QtSerialLink(DeviceMapping device_for_port)
    : device_for_port_(std::move(device_for_port)), hang_up_watch_(std::make_unique<HangUpWatch>(*this)) {
    if (!device_for_port_) device_for_port_ = [](int port) { return SerialDevicePath(port); };
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError code) { OnPortError(code); });
    QObject::connect(&port_, &QSerialPort::readyRead, hang_up_watch_.get(), [this] { hang_up_watch_->BytesCame(); });
}

void QtSerialLink::Configure(int port, const std::string& settings, int input_length) {
    ThrowIfLost();
    if (port_.isOpen()) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "The serial port cannot be configured while it is open");
    }
    if (port < 1) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid serial port number " + std::to_string(port));
    }
    const auto parsed = ParseLineSettings(settings);
    if (!parsed) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid serial line settings \"" + settings + "\"");
    }
    if (input_length < 0) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid input length " + std::to_string(input_length));
    }
    port_number_ = port;
    settings_ = *parsed;
    input_length_ = input_length;
}

void QtSerialLink::Open() {
    ThrowIfLost();
    if (port_number_ < 1) {
        Fail(FailureStage::Open, QSerialPort::UnsupportedOperationError, "The serial port has not been configured");
    }
    if (port_.isOpen()) {
        Fail(FailureStage::Open, QSerialPort::OpenError, "The serial port is already open");
    }
    // Mapped now rather than at Configure, so an adapter plugged in after
    // start-up is found.
    device_path_ = device_for_port_(port_number_);
    opened_path_ = DeviceToOpen(device_path_);
    port_.setPortName(QString::fromStdString(opened_path_));
    port_.setBaudRate(settings_.baud);
    port_.setParity(ToQt(settings_.parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.data_bits));
    port_.setStopBits(ToQt(settings_.stop_bits));
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // Qt stops taking bytes in from the system once this much waits unread.
    port_.setReadBufferSize(kReadLimit);
    if (!port_.open(QIODevice::ReadWrite)) {
        Fail(FailureStage::Open, port_.error(), port_.errorString().toStdString());
    }
    // Only what arrives while the port is open counts as received.
    port_.clear(QSerialPort::Input);
    // Qt makes a new read notifier for every open.
    for (auto* notifier : port_.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly)) {
        if (notifier->type() == QSocketNotifier::Read) notifier->installEventFilter(hang_up_watch_.get());
    }
}

QtSerialLink::~QtSerialLink() = default;

void QtSerialLink::Close() {
    ThrowIfLost();
    port_.close();
}

bool QtSerialLink::IsOpen() const {
    ThrowIfLost();
    return port_.isOpen();
}

void QtSerialLink::Write(const std::string& text) {
    ThrowIfLost();
    RequireOpen();
    const auto size = static_cast<qint64>(text.size());
    if (port_.write(text.data(), size) != size) {
        ThrowIfLost();
        throw SerialError(port_.errorString().toStdString());
    }
    // Hand the bytes to the device now instead of when the event loop next
    // runs. Waiting zero milliseconds writes only what the device accepts at
    // once, so a full output queue is not mistaken for a write error; the
    // rest follows from the event loop.
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(0)) {}
    ThrowIfLost();
    NoticeHangUp();
    ThrowIfLost();
}

std::string QtSerialLink::ReadAll() {
    ThrowIfLost();
    RequireOpen();
    // Take in what the system already holds but the event loop has not yet
    // delivered; a zero wait never blocks.
    while (port_.waitForReadyRead(0)) {}
    // What the driver holds is read now, as the serial control the program
    // was made for read it, even where Qt's events have not delivered it
    // yet: a short wait for the read Qt has under way, only while the driver
    // has bytes, so it costs nothing on a quiet line.
    for (int tries = 0; tries < kDriverReadTries && HeldByDriver(port_) > 0; ++tries) {
        if (!port_.waitForReadyRead(kDriverReadWaitMs)) break;
    }
    ThrowIfLost();
    NoticeHangUp();
    ThrowIfLost();
    const QByteArray data = port_.read(input_length_ > 0 ? std::min<qint64>(input_length_, kReadLimit) : kReadLimit);
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialLink::Fail(FailureStage stage, QSerialPort::SerialPortError code, const std::string& description) {
    failure_ = LinkFailure{stage, code, description};
    throw SerialError(description);
}

void QtSerialLink::OnPortError(QSerialPort::SerialPortError code) {
    if (!EndsConnection(code) || !port_.isOpen() || failure_.stage == FailureStage::Session) {
        return;
    }
    // On a hang-up Qt's read sees end-of-file and describes whatever errno
    // was left over, so whether the device vanished is recorded separately.
    failure_ =
        LinkFailure{FailureStage::Session, code, port_.errorString().toStdString(), DeviceFileGone(opened_path_)};
    // Closing from inside QSerialPort's own error signal is not safe, so the
    // close waits for the event loop; until then every call throws anyway.
    QMetaObject::invokeMethod(
        &port_, [this] { port_.close(); }, Qt::QueuedConnection);
}

void QtSerialLink::NoticeHangUp() {
    if (!port_.isOpen() || failure_.stage == FailureStage::Session || !HungUp(port_)) return;
    failure_ =
        LinkFailure{FailureStage::Session, QSerialPort::ResourceError,
                    "The device hung up: it reads end of file and takes nothing more", DeviceFileGone(opened_path_)};
    port_.close();
}

void QtSerialLink::ThrowIfLost() const {
    if (failure_.stage == FailureStage::Session) throw SerialError(failure_.description);
}

void QtSerialLink::RequireOpen() const {
    if (!port_.isOpen()) throw SerialError("The serial port is not open");
}

}  // namespace velmo
