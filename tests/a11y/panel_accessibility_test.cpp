// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as assistive technology reads it, in-process: what each control
// tells, what is spoken when, and that none of it changes what the window
// shows or sends.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "fake_link.h"
#include "main_window.h"
#include "switch_on_commands.h"
#include "window_test_support.h"

namespace velmo::testing {
namespace {

// What a screen reader is told: the messages announced or shown, in order.
// While a test listens, every event is also read through as a screen reader
// reads it, so that reading can be shown to change nothing.
std::vector<QString> g_spoken;
int g_events_read = 0;

void ReadLikeAScreenReader(QAccessibleEvent* event) {
    // An object that is going is not read: its widget is half torn down
    // (Qt 6.11 hands on the button's own interface from ~QWidget, where it
    // is no longer a button), and a screen reader only forgets it.
    if (event->type() == QAccessible::ObjectDestroyed) return;
    QAccessibleInterface* object = event->accessibleInterface();
    if (!object) return;
    ++g_events_read;
    for (auto t : {QAccessible::Name, QAccessible::Description, QAccessible::Value}) (void)object->text(t);
    (void)object->state();
    (void)object->rect();
    if (QAccessibleValueInterface* value = object->valueInterface()) (void)value->currentValue();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // A message for the screen reader alone goes out as an announcement
    // from Qt 6.8 on, as a notification shown with it before.
    if (event->type() == QAccessible::Announcement) {
        g_spoken.push_back(static_cast<QAccessibleAnnouncementEvent*>(event)->message());
    }
#endif
    if (event->type() == QAccessible::ObjectShow && object->role() == QAccessible::Notification) {
        g_spoken.push_back(object->text(QAccessible::Name));
    }
}

// Turns the desktop's accessibility on, as starting a screen reader does, and
// waits for Qt to follow. (Qt's own switch, QAccessible::setActive(), only
// tells observers; and Qt 6.4 stays on once it is on.) The bus has the
// desktop's switch, IsEnabled, on every release; the screen reader's own,
// ScreenReaderEnabled, is gone from newer at-spi2-core, so it is set only
// where the bus has it.
bool TurnOnDesktopAccessibility() {
    QDBusInterface properties(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                              QStringLiteral("org.freedesktop.DBus.Properties"), QDBusConnection::sessionBus());
    const QDBusMessage all = properties.call(QStringLiteral("GetAll"), QStringLiteral("org.a11y.Status"));
    if (all.type() == QDBusMessage::ErrorMessage || all.arguments().isEmpty()) {
        ADD_FAILURE() << "the AT-SPI bus: " << all.errorMessage().toStdString();
        return false;
    }
    const QVariantMap status = qdbus_cast<QVariantMap>(all.arguments().front());
    if (!status.contains(QStringLiteral("IsEnabled"))) {
        ADD_FAILURE() << "the AT-SPI bus has no IsEnabled switch";
        return false;
    }
    for (const char* flag : {"IsEnabled", "ScreenReaderEnabled"}) {
        if (!status.contains(QString::fromLatin1(flag))) continue;
        const QDBusMessage reply = properties.call(QStringLiteral("Set"), QStringLiteral("org.a11y.Status"),
                                                   QString::fromLatin1(flag), QVariant::fromValue(QDBusVariant(true)));
        if (reply.type() == QDBusMessage::ErrorMessage) {
            ADD_FAILURE() << "the AT-SPI bus: " << reply.errorMessage().toStdString();
            return false;
        }
    }
    return WaitUntil([] { return QAccessible::isActive(); });
}

// A screen reader attached for the life of the object.
class ScreenReader {
public:
    ScreenReader() {
        g_spoken.clear();
        g_events_read = 0;
        EXPECT_TRUE(TurnOnDesktopAccessibility()) << "accessibility did not come on";
        previous_ = QAccessible::installUpdateHandler(&ReadLikeAScreenReader);
    }
    ~ScreenReader() { QAccessible::installUpdateHandler(previous_); }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // Waits for `message` to be spoken.
    bool Heard(const QString& message, std::chrono::milliseconds limit = 5s) const {
        return WaitUntil([&] { return std::find(g_spoken.begin(), g_spoken.end(), message) != g_spoken.end(); }, limit);
    }

private:
    QAccessible::UpdateHandler previous_ = nullptr;
};

QAccessibleInterface* Read(MainWindow& window, const char* name) {
    auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
    return control ? QAccessible::queryAccessibleInterface(control) : nullptr;
}

std::string NameOf(MainWindow& window, const char* name) {
    QAccessibleInterface* object = Read(window, name);
    return object ? object->text(QAccessible::Name).toStdString() : "(no such control)";
}

// A receiver that answers switching on and the signal poll, and the
// squelch query with `squelch` when given.
void AnswerLikeAReceiver(FakeLink& link, const std::string* squelch = nullptr) {
    link.responder = [squelch](const std::string& line) -> std::string {
        if (line == "H101" || line == "G300") return "G000\r\n";
        if (line == "I1?") return "I16C\r\n";  // raw 108: a bar of 52
        if (line == "I0?" && squelch) return "I0" + *squelch + "\r\n";
        return "";
    };
}

TEST(PanelAccessibility, EveryControlSaysWhatItIsAndItsValue) {
    ScreenReader reader;
    FakeLink link;
    MainWindow window(link, 1, [](const std::exception&) {});
    struct Row {
        const char* control;
        QAccessible::Role role;
        const char* name;
        const char* description_part;  // nullptr: none asked
        double value;                  // -1: no value
    };
    std::vector<Row> rows = {
        {"CodesOut", QAccessible::List, "Commands sent", "command", -1},
        {"CodesIn", QAccessible::List, "Replies received", "reply", -1},
        {"RadioOn", QAccessible::Button, "ON", "Insert", -1},
        {"RadioOff", QAccessible::Button, "OFF", "Delete", -1},
        {"FrequencyUp", QAccessible::Button, "UP", "Page Up", -1},
        {"FrequencyDown", QAccessible::Button, "DOWN", "Page Down", -1},
        {"Direct", QAccessible::Button, "DIRECT", "Control", -1},
        {"Scan", QAccessible::Button, "SCAN", "Shift", -1},
        {"Volume", QAccessible::ScrollBar, "Volume", "Pause", 100},
        {"Squelch", QAccessible::ScrollBar, "Squelch", nullptr, 128},
        {"IfShift", QAccessible::ScrollBar, "IF Shift", nullptr, 80},
        {"TuningStep", QAccessible::ComboBox, "Tuning step", "step", -1},
        {"WFM", QAccessible::RadioButton, "WFM", nullptr, -1},
        {"Filter5", QAccessible::RadioButton, "230 KHz", nullptr, -1},
        {"DisplayFrequency", QAccessible::StaticText, "Frequency 81.3 MHz", "frequency", 81.3},
        {"SignalStrength", QAccessible::StaticText, "Signal 0 of 75", "signal strength", 0},
        {"SignalScale", QAccessible::StaticText, "Signal scale", "S 0 to S 9", -1},
        {"OnOffLabel", QAccessible::StaticText, "Receiver off", nullptr, -1},
        {"ScanLabel", QAccessible::StaticText, "Scanner stopped", nullptr, -1},
    };
    // A switch is named by its caption and described by its row.
    for (const SwitchControl& box : kSwitchControls) {
        rows.push_back({box.name, QAccessible::CheckBox, box.name, box.description, -1});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        QAccessibleInterface* object = Read(window, row.control);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->role(), row.role);
        EXPECT_EQ(object->text(QAccessible::Name).toStdString(), row.name);
        if (row.description_part) {
            EXPECT_TRUE(object->text(QAccessible::Description).contains(QString::fromLatin1(row.description_part)))
                << object->text(QAccessible::Description).toStdString();
        }
        QAccessibleValueInterface* value = object->valueInterface();
        if (row.value < 0) continue;
        ASSERT_NE(value, nullptr);
        EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), row.value);
    }
    // The step box gives its text as its value, and its parts are named.
    QAccessibleInterface* step = Read(window, "TuningStep");
    EXPECT_EQ(step->text(QAccessible::Value).toStdString(), "100 KHz");
    ASSERT_EQ(step->childCount(), 2);
    EXPECT_EQ(step->child(0)->text(QAccessible::Name).toStdString(), "Tuning steps");
    EXPECT_EQ(step->child(1)->text(QAccessible::Name).toStdString(), "Tuning step");
}

TEST(PanelAccessibility, LampsAndSignalTellTheReceiversState) {
    ScreenReader reader;
    FakeLink link;
    AnswerLikeAReceiver(link);
    MainWindow window(link, 1, [](const std::exception&) {});
    ShowWindow(window);

    Control<QAbstractButton>(window, "RadioOn")->click();
    EXPECT_EQ(NameOf(window, "OnOffLabel"), "Receiver on");
    ASSERT_TRUE(WaitUntil([&] { return NameOf(window, "SignalStrength") == "Signal 52 of 75"; }));
    EXPECT_EQ(Read(window, "SignalStrength")->valueInterface()->currentValue().toInt(), 52);

    PressKey(window, Qt::Key_Shift);
    EXPECT_EQ(NameOf(window, "ScanLabel"), "Scanner running");
    PressKey(window, Qt::Key_Shift);
    EXPECT_EQ(NameOf(window, "ScanLabel"), "Scanner stopped");

    PressKey(window, Qt::Key_Delete);
    EXPECT_EQ(NameOf(window, "OnOffLabel"), "Receiver off");
    EXPECT_EQ(NameOf(window, "SignalStrength"), "Signal 0 of 75");
}

TEST(PanelAccessibility, NewFrequencySwitchingAndScanningAreSpoken) {
    ScreenReader reader;
    FakeLink link;
    AnswerLikeAReceiver(link);
    MainWindow window(link, 1, [](const std::exception&) {});
    ShowWindow(window);
    // Start-up sets every display without anything to tell.
    QCoreApplication::processEvents();
    EXPECT_TRUE(g_spoken.empty()) << g_spoken.front().toStdString();

    struct Step {
        Qt::Key key;
        const char* spoken;
    };
    const Step steps[] = {{Qt::Key_PageUp, "81.4 MHz"},    {Qt::Key_D, "81.3 MHz"}, {Qt::Key_End, "1300 MHz"},
                          {Qt::Key_Home, "0.1 MHz"},       {Qt::Key_U, "0.2 MHz"},  {Qt::Key_Insert, "Receiver on"},
                          {Qt::Key_Delete, "Receiver off"}};
    for (const Step& step : steps) {
        const std::size_t before = g_spoken.size();
        PressKey(window, step.key);
        ASSERT_TRUE(WaitUntil([&] { return g_spoken.size() > before; })) << step.spoken;
        EXPECT_EQ(g_spoken.back().toStdString(), step.spoken);
    }

    // The same frequency again is no news.
    const std::size_t before = g_spoken.size();
    PressKey(window, Qt::Key_Home);
    PressKey(window, Qt::Key_Home);
    ASSERT_TRUE(reader.Heard(QStringLiteral("0.1 MHz")));
    LetRun(100ms);
    EXPECT_EQ(g_spoken.size(), before + 1);
}

TEST(PanelAccessibility, TheScannerIsHeardWhereItHoldsNotAtEveryStep) {
    ScreenReader reader;
    FakeLink link;
    std::string squelch = "04";  // closed: the scanner steps on
    AnswerLikeAReceiver(link, &squelch);
    MainWindow window(link, 1, [](const std::exception&) {});
    ShowWindow(window);
    PressKey(window, Qt::Key_Insert);
    ASSERT_TRUE(reader.Heard(QStringLiteral("Receiver on")));

    const auto steps_taken = [&] { return std::count(link.writes.begin(), link.writes.end(), "I0?\r\n"); };
    PressKey(window, Qt::Key_Shift);
    ASSERT_TRUE(reader.Heard(QStringLiteral("Scanner running")));
    const std::size_t spoken_when_started = g_spoken.size();
    ASSERT_TRUE(WaitUntil([&] { return steps_taken() >= 5; }));
    EXPECT_EQ(g_spoken.size(), spoken_when_started) << g_spoken.back().toStdString();

    // Squelch open: the scanner holds 6 s on the next frequency, and that
    // frequency is told once it has stayed put a second.
    squelch = "07";
    ASSERT_TRUE(WaitUntil([&] { return g_spoken.size() > spoken_when_started; }, 4s));
    const QString held = g_spoken.back();
    EXPECT_TRUE(held.endsWith(QStringLiteral(" MHz"))) << held.toStdString();
    EXPECT_EQ(QStringLiteral("Frequency ") + held, QString::fromStdString(NameOf(window, "DisplayFrequency")));

    PressKey(window, Qt::Key_Shift);
    EXPECT_TRUE(reader.Heard(QStringLiteral("Scanner stopped at ") + held));
    PressKey(window, Qt::Key_Delete);
}

// The window with or without a screen reader: the same screenshot and the
// same bytes on the wire.
struct Outcome {
    QImage screenshot;
    std::vector<std::string> wire;
};

Outcome RunSession() {
    FakeLink link;
    // No signal reply: the poll's timing then changes nothing that is shown.
    link.responder = [](const std::string& line) { return line == "H101" || line == "G300" ? "G000\r\n" : ""; };
    MainWindow window(link, 1, [](const std::exception&) {});
    ShowWindow(window);
    Control<QAbstractButton>(window, "RadioOn")->click();
    for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_U, Qt::Key_End, Qt::Key_Home, Qt::Key_D, Qt::Key_Tab, Qt::Key_Pause}) {
        PressKey(window, key);
    }
    Control<QAbstractButton>(window, "AM")->click();
    Control<QAbstractButton>(window, "AFC")->click();
    PressKey(window, Qt::Key_Delete);
    // Let the lists' queued scrolling and the spoken messages go out.
    LetRun(50ms);
    Outcome outcome{window.grab().toImage(), {}};
    // The signal poll is timed, not caused by the user: its count varies
    // from run to run either way.
    for (const std::string& bytes : link.writes) {
        if (bytes != "I1?\r\n") outcome.wire.push_back(bytes);
    }
    return outcome;
}

// Run by CTest in a process of its own (a11y.window.unchanged), first thing.
TEST(PanelAccessibility, AScreenReaderChangesNothingShownOrSent) {
    if (QAccessible::isActive()) GTEST_SKIP() << "accessibility is on already; run this test on its own";
    const Outcome without = RunSession();
    Outcome with;
    {
        ScreenReader reader;
        with = RunSession();
        // The reader was really there and was told things.
        EXPECT_GT(g_events_read, 20);
        EXPECT_FALSE(g_spoken.empty());
    }
    ASSERT_FALSE(without.screenshot.isNull());
    EXPECT_EQ(with.screenshot.size(), without.screenshot.size());
    EXPECT_TRUE(with.screenshot == without.screenshot) << "the screenshots differ";
    EXPECT_EQ(with.wire, without.wire);
    EXPECT_GT(without.wire.size(), kSwitchOnCommands.size()) << "more than the switch-on";
}

}  // namespace
}  // namespace velmo::testing
