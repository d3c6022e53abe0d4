// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One of the three Velmo programs; which one, and so which serial port it
// opens, is decided by the build (VELMO_PROGRAM_NAME, VELMO_PORT_NUMBER).

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <string>

#include "failure_message.h"
#include "main_window.h"
#include "platform_link.h"
#include "stack_room.h"

#if !defined(VELMO_PROGRAM_NAME) || !defined(VELMO_PORT_NUMBER) || !defined(VELMO_FILE_VERSION) || \
    !defined(VELMO_PRODUCT_NAME)
#error "the build names the program, its port and its version"
#endif

#define VELMO_TEXT(x) VELMO_TEXT_(x)
#define VELMO_TEXT_(x) #x

namespace {

// The version record, readable in the binary itself (on Windows the
// VERSIONINFO resource carries the same fields).
#if defined(__GNUC__)
[[gnu::used]]
#endif
constexpr char kVersionRecord[] =
    "VelmoVersionRecord FileVersion=" VELMO_FILE_VERSION " ProductVersion=" VELMO_FILE_VERSION
    " ProductName=" VELMO_PRODUCT_NAME " InternalName=" VELMO_PROGRAM_NAME " OriginalFilename=" VELMO_PROGRAM_NAME
    " Port=" VELMO_TEXT(VELMO_PORT_NUMBER);

}  // namespace

int main(int argc, char* argv[]) {
    velmo::MakeRoomForNestedEvents();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(VELMO_PROGRAM_NAME));
    QApplication::setApplicationVersion(QStringLiteral(VELMO_FILE_VERSION));

    velmo::PlatformLink link;
    auto report = [&link](const std::exception& error) {
        const auto* serial_error = dynamic_cast<const velmo::SerialError*>(&error);
        const std::string text = serial_error ? velmo::DescribeFailure(link, *serial_error) : error.what();
        QMessageBox::critical(nullptr, QStringLiteral("Velmo - ICOM PCR1000"), QString::fromStdString(text));
    };
    velmo::MainWindow window(link, VELMO_PORT_NUMBER, report);
    if (window.Ending()) return window.ExitStatus();  // ended before the loop could run

    window.show();
    const int status = QApplication::exec();
    return window.Ending() ? window.ExitStatus() : status;
}
