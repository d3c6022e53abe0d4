// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "win_serial_link.h"

#include <windows.h>

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace velmo {
namespace {

// The same codes Qt Serial Port gives for these system errors, so that a
// failure is explained alike whichever link met it.
QSerialPort::SerialPortError CodeFor(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS: return QSerialPort::NoError;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return QSerialPort::DeviceNotFoundError;
        case ERROR_ACCESS_DENIED: return QSerialPort::PermissionError;
        case ERROR_INVALID_PARAMETER: return QSerialPort::UnsupportedOperationError;
        case ERROR_INVALID_HANDLE:
        case ERROR_BAD_COMMAND:
        case ERROR_DEVICE_REMOVED:
        case ERROR_OPERATION_ABORTED: return QSerialPort::ResourceError;
        case WAIT_TIMEOUT: return QSerialPort::TimeoutError;
        default: return QSerialPort::UnknownError;
    }
}

// The system's own words for an error, in the user's language.
std::string Describe(DWORD error) { return qt_error_string(static_cast<int>(error)).toStdString(); }

// Ports above COM9, and names that are not ports, are reached only through
// the device namespace; COM1 to COM9 are reached through it as well.
std::wstring DeviceNamespacePath(const std::string& device) {
    const std::wstring name = QString::fromStdString(device).toStdWString();
    return name.rfind(L"\\\\", 0) == 0 ? name : L"\\\\.\\" + name;
}

// Whether the system still lists the port: a USB serial adapter's port
// goes when the adapter is unplugged.
bool PortListed(const std::string& device) {
    std::wstring name = QString::fromStdString(device).toStdWString();
    if (name.rfind(L"\\\\.\\", 0) == 0) name.erase(0, 4);
    wchar_t target[MAX_PATH];
    return QueryDosDeviceW(name.c_str(), target, MAX_PATH) != 0;
}

BYTE ParityByte(Parity parity) {
    switch (parity) {
        case Parity::None: return NOPARITY;
        case Parity::Even: return EVENPARITY;
        case Parity::Odd: return ODDPARITY;
        case Parity::Mark: return MARKPARITY;
        case Parity::Space: return SPACEPARITY;
    }
    return NOPARITY;
}

BYTE StopBitsByte(StopBits stop_bits) {
    switch (stop_bits) {
        case StopBits::One: return ONESTOPBIT;
        case StopBits::OneAndHalf: return ONE5STOPBITS;
        case StopBits::Two: return TWOSTOPBITS;
    }
    return ONESTOPBIT;
}

// The line as the receiver wants it: binary, no flow control of any kind,
// errors not ending transfers, and the modem lines left as the port keeps
// them (RTS off, as Qt Serial Port leaves it).
void SetLine(DCB& dcb, const LineSettings& settings) {
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.ByteSize = static_cast<BYTE>(settings.data_bits);
    dcb.Parity = ParityByte(settings.parity);
    dcb.fParity = settings.parity == Parity::None ? FALSE : TRUE;
    dcb.StopBits = StopBitsByte(settings.stop_bits);
    dcb.fBinary = TRUE;
    dcb.fAbortOnError = FALSE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fInX = FALSE;
    dcb.fOutX = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE) dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
}

// The longest a read of bytes the driver holds may take.
constexpr DWORD kReadWaitMs = 500;

}  // namespace

struct WinSerialLink::PendingWrite {
    OVERLAPPED overlapped{};
    std::string bytes;

    explicit PendingWrite(std::string text) : bytes(std::move(text)) {
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~PendingWrite() {
        if (overlapped.hEvent) CloseHandle(overlapped.hEvent);
    }
    PendingWrite(const PendingWrite&) = delete;
    PendingWrite& operator=(const PendingWrite&) = delete;
};

WinSerialLink::WinSerialLink(DeviceMapping device_for_port)
    : PortLink(std::move(device_for_port)), handle_(INVALID_HANDLE_VALUE) {}

WinSerialLink::~WinSerialLink() { CloseHandles(); }

void WinSerialLink::Open() {
    device_name_ = DeviceToOpen();
    handle_ = CreateFileW(DeviceNamespacePath(device_name_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    const auto refuse = [this](DWORD error) {
        CloseHandles();
        Fail(FailureStage::Open, CodeFor(error), Describe(error));
    };
    if (handle_ == INVALID_HANDLE_VALUE) refuse(GetLastError());

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) refuse(GetLastError());
    SetLine(dcb, Settings());
    if (!SetCommState(handle_, &dcb)) refuse(GetLastError());
    // A read returns at once with what the driver holds, even nothing.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!SetCommTimeouts(handle_, &timeouts)) refuse(GetLastError());
    read_done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!read_done_) refuse(GetLastError());
    // Only what arrives while the port is open counts as received.
    if (!PurgeComm(handle_, PURGE_RXCLEAR | PURGE_RXABORT)) refuse(GetLastError());
}

void WinSerialLink::Close() {
    ThrowIfLost();
    if (handle_ == INVALID_HANDLE_VALUE) return;
    if (write_) WaitForSingleObject(write_->overlapped.hEvent, kCloseWaitMs);
    CloseHandles();
}

bool WinSerialLink::IsOpen() const {
    ThrowIfLost();
    return handle_ != INVALID_HANDLE_VALUE;
}

void WinSerialLink::Write(const std::string& text) {
    ThrowIfLost();
    RequireOpen();
    FinishWrite(true);
    if (text.empty()) return;
    if (text.size() > MAXDWORD) LoseTo(ERROR_INVALID_PARAMETER);
    auto write = std::make_unique<PendingWrite>(text);
    if (!write->overlapped.hEvent) LoseTo(GetLastError());
    if (!WriteFile(handle_, write->bytes.data(), static_cast<DWORD>(write->bytes.size()), nullptr,
                   &write->overlapped)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) LoseTo(error);
    }
    write_ = std::move(write);
    FinishWrite(false);
}

std::string WinSerialLink::ReadAll() {
    ThrowIfLost();
    RequireOpen();
    FinishWrite(false);
    // Asking the driver also notices a device that has gone.
    DWORD line_errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &line_errors, &status)) LoseTo(GetLastError());
    if (status.cbInQue == 0) return {};
    // Only what the driver holds is asked for, so the read ends at once.
    // (Under Wine an overlapped read of a quiet line waits for a byte
    // whatever the read timeouts say.)
    const auto size = static_cast<DWORD>(std::min<std::int64_t>(status.cbInQue, ReadSize()));
    std::string data(size, '\0');
    OVERLAPPED overlapped{};
    overlapped.hEvent = read_done_;
    if (!ReadFile(handle_, data.data(), size, nullptr, &overlapped)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) LoseTo(error);
        // Should a driver still not end it, what it read by then is taken.
        if (WaitForSingleObject(read_done_, kReadWaitMs) != WAIT_OBJECT_0) CancelIoEx(handle_, &overlapped);
    }
    DWORD got = 0;
    if (!GetOverlappedResult(handle_, &overlapped, &got, TRUE) && GetLastError() != ERROR_OPERATION_ABORTED) {
        LoseTo(GetLastError());
    }
    data.resize(got);
    return data;
}

void WinSerialLink::FinishWrite(bool wait) {
    if (!write_) return;
    if (wait) {
        // Ten bits a character, eleven with parity.
        const auto bits = static_cast<std::uint64_t>(write_->bytes.size()) * 11;
        const auto on_the_line_ms = bits * 1000 / static_cast<std::uint64_t>(std::max(Settings().baud, 1));
        const auto limit = static_cast<DWORD>(std::min<std::uint64_t>(2 * on_the_line_ms + 1000, MAXDWORD - 1));
        if (WaitForSingleObject(write_->overlapped.hEvent, limit) == WAIT_TIMEOUT) LoseTo(ERROR_TIMEOUT);
    }
    DWORD sent = 0;
    if (!GetOverlappedResult(handle_, &write_->overlapped, &sent, FALSE)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return;
        LoseTo(error);
    }
    // No write timeout is set, so a write ends only when all of it went.
    if (sent != write_->bytes.size()) LoseTo(ERROR_WRITE_FAULT);
    write_.reset();
}

void WinSerialLink::LoseTo(unsigned long code) {
    Lose(CodeFor(code), Describe(code), !PortListed(device_name_));
    CloseHandles();
    ThrowIfLost();
    throw SerialError(Describe(code));  // not reached: the loss was recorded
}

void WinSerialLink::CloseHandles() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CancelIo(handle_);
        // The system writes into a write's record until it has ended.
        if (write_) {
            DWORD ignored = 0;
            GetOverlappedResult(handle_, &write_->overlapped, &ignored, TRUE);
        }
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    write_.reset();
    if (read_done_) {
        CloseHandle(read_done_);
        read_done_ = nullptr;
    }
}

}  // namespace velmo
