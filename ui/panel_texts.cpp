#include "panel_texts.h"

namespace velmo {

QStringList TuningStepEntries() {
    return {"1 Hz",    "10 Hz",  "20 Hz",    "50 Hz",   "100 Hz",  "500 Hz",   "1 KHz",
            "2.5 KHz", "5 KHz",  "6.25 KHz", "9 KHz",   "10 KHz",  "12.5 KHz", "20 KHz",
            "25 KHz",  "30 KHz", "50 KHz",   "100 KHz", "500 KHz", "1 MHz",    "10 MHz"};
}

QString FullSignalBar() { return QStringLiteral(" ") + QString(75, QLatin1Char('|')); }

QString SignalScaleText() {
    QString scale = QStringLiteral("   0");
    for (char digit = '1'; digit <= '9'; ++digit) {
        scale += QString(10, QLatin1Char(' ')) + QLatin1Char(digit);
    }
    for (const char* decibels : {"+20", "+40", "+60"}) {
        scale += QString(6, QLatin1Char(' ')) + QLatin1String(decibels);
    }
    return scale;
}

}  // namespace velmo
