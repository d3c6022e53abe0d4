// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A minimal Qt program, none of Velmo's code in it, that waits the way a
// front panel on a serial line waits: a 10 ms precise timer and the event
// loop run until it ticks, then a read of what the port has. Run under Wine
// and on Linux alike, it tells how long such a pause really takes there, and
// how long after the answer reached the serial driver Qt hands it over:
//
//   pause_probe [--gui [--window [--paint]]] [--wake] [--trace] [--pauses N] [--port NAME [--rounds N]]
//
// Under Wine the port is COMn, mapped to a terminal in Wine's registry; on
// Linux it is the terminal itself.
//
// With --wake the timer's slot also wakes the event dispatcher, as Velmo's
// timer adapter does on Windows: without it, on Qt's Windows dispatcher, the
// first pause never ends, since the dispatcher delivers the tick as a posted
// event and then waits for a window message regardless. --trace prints each
// turn of the loop of the first pauses. --window shows a window meanwhile;
// --paint changes its text, in large digits, before every pause, so that
// each pause paints the window once, as a front panel's pauses do.
// The last line it prints is "leaving", as main() returns: the caller can
// time the program's end from there.
//
// With --port it asks the receiver at NAME "I1?" (9600 8N1; the simulated
// receiver is switched on first with "H101") and, for each question, counts
// the pauses until the answer is in the driver's queue and until Qt has
// delivered it.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool g_wake = false;
bool g_trace = false;

// The pause: a precise repeating timer, and the event loop run until it
// ticks once.
double PauseMs(QTimer& timer, int ms) {
    bool ticked = false;
    auto connection = QObject::connect(&timer, &QTimer::timeout, [&] {
        ticked = true;
        timer.stop();
        if (g_wake) QAbstractEventDispatcher::instance()->wakeUp();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    timer.start(ms);
    long loops = 0;
    while (!ticked) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++loops;
        if (g_trace) std::printf("  loop %ld at %.1f ms\n", loops, static_cast<double>(elapsed.nsecsElapsed()) / 1e6);
    }
    QObject::disconnect(connection);
    return static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
}

void PrintSpread(const char* what, std::vector<double> values, const char* unit) {
    if (values.empty()) {
        std::printf("%s: none\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) {
        return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
    };
    std::printf("%s: median %.1f %s, 90%% %.1f, max %.1f (%zu)\n", what, at(0.5), unit, at(0.9), values.back(),
                values.size());
}

// Bytes the serial driver holds that Qt has not taken yet.
long long DriverQueue(QSerialPort& port) {
#ifdef _WIN32
    COMSTAT status{};
    if (!ClearCommError(port.handle(), nullptr, &status)) return -1;
    return status.cbInQue;
#else
    (void)port;
    return -1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    bool gui = false;
    bool window = false;
    bool paint = false;
    int pauses = 200;
    int rounds = 40;
    QString port_name;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--gui") gui = true;
        if (arg == "--window") window = true;
        if (arg == "--paint") paint = true;
        if (arg == "--wake") g_wake = true;
        if (arg == "--trace") g_trace = true;
        if (arg == "--pauses" && i + 1 < argc) pauses = std::atoi(argv[++i]);
        if (arg == "--rounds" && i + 1 < argc) rounds = std::atoi(argv[++i]);
        if (arg == "--port" && i + 1 < argc) port_name = QString::fromLocal8Bit(argv[++i]);
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::unique_ptr<QCoreApplication> app;
    if (gui) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::unique_ptr<QLabel> label;
    if (gui && window) {
        label = std::make_unique<QLabel>(QStringLiteral("pause_probe"));
        QFont digits = label->font();
        digits.setPointSize(28);
        label->setFont(digits);
        label->resize(480, 120);
        label->show();
    }
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    std::printf("started\n");

    std::vector<double> lengths;
    for (int i = 0; i < pauses; ++i) {
        if (paint && label) label->setText(QString::number(1000000 + i * 12500));
        lengths.push_back(PauseMs(timer, 10));
        if (i < 3) std::printf("pause %d: %.1f ms\n", i, lengths.back());
        g_trace = g_trace && i < 2;
    }
    PrintSpread(paint && label ? "10 ms pause, painting" : "10 ms pause, idle", lengths, "ms");
    if (port_name.isEmpty()) {
        std::printf("leaving\n");
        return 0;
    }

    QSerialPort port(port_name);
    port.setBaudRate(9600);
    if (!port.open(QIODevice::ReadWrite)) {
        std::printf("cannot open %s: %s\n", qPrintable(port_name), qPrintable(port.errorString()));
        return 1;
    }
    port.write("H101\r\n");
    for (int i = 0; i < 20; ++i) PauseMs(timer, 10);
    port.readAll();

    std::vector<double> in_driver;
    std::vector<double> delivered;
    std::vector<double> pause_lengths;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer since;
        since.start();
        port.write("I1?\r\n");
        double held_at = -1;
        QByteArray got;
        while (got.size() < 6 && since.elapsed() < 2000) {
            pause_lengths.push_back(PauseMs(timer, 10));
            const double now = static_cast<double>(since.nsecsElapsed()) / 1e6;
            if (held_at < 0 && (DriverQueue(port) > 0 || port.bytesAvailable() > 0)) held_at = now;
            got += port.readAll();
            if (got.size() >= 6) delivered.push_back(now);
        }
        if (held_at >= 0) in_driver.push_back(held_at);
        for (int i = 0; i < 3; ++i) PauseMs(timer, 10);
        port.readAll();
    }
    PrintSpread("10 ms pause, port open", pause_lengths, "ms");
    PrintSpread("answer first seen (driver queue or Qt)", in_driver, "ms after the question");
    PrintSpread("answer delivered by Qt", delivered, "ms after the question");
    // Leaving with the port open, as a program ended at once does.
    std::printf("leaving\n");
    return 0;
}
