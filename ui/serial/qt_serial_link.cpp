// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_serial_link.h"

#include <QEvent>
#include <QMetaObject>
#include <QSocketNotifier>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef Q_OS_UNIX
#include <termios.h>

#include <cerrno>
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
std::string ResolveAlias(const std::string& path) {
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
    : PortLink(std::move(device_for_port)), hang_up_watch_(std::make_unique<HangUpWatch>(*this)) {
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError code) { OnPortError(code); });
    QObject::connect(&port_, &QSerialPort::readyRead, hang_up_watch_.get(), [this] { hang_up_watch_->BytesCame(); });
}

void QtSerialLink::Open() {
    opened_path_ = ResolveAlias(DeviceToOpen());
    const LineSettings& settings = Settings();
    port_.setPortName(QString::fromStdString(opened_path_));
    port_.setBaudRate(settings.baud);
    port_.setParity(ToQt(settings.parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.data_bits));
    port_.setStopBits(ToQt(settings.stop_bits));
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
    ThrowIfLost();
    NoticeHangUp();
    ThrowIfLost();
    const QByteArray data = port_.read(ReadSize());
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialLink::OnPortError(QSerialPort::SerialPortError code) {
    if (!EndsConnection(code) || !port_.isOpen() || Lost()) return;
    // On a hang-up Qt's read sees end-of-file and describes whatever errno
    // was left over, so whether the device vanished is recorded separately.
    Lose(code, port_.errorString().toStdString(), DeviceFileGone(opened_path_));
    // Closing from inside QSerialPort's own error signal is not safe, so the
    // close waits for the event loop; until then every call throws anyway.
    QMetaObject::invokeMethod(
        &port_, [this] { port_.close(); }, Qt::QueuedConnection);
}

void QtSerialLink::NoticeHangUp() {
    if (!port_.isOpen() || Lost() || !HungUp(port_)) return;
    Lose(QSerialPort::ResourceError, "The device hung up: it reads end of file and takes nothing more",
         DeviceFileGone(opened_path_));
    port_.close();
}

}  // namespace velmo
