#pragma once

#include <QString>
#include <QStringList>

namespace velmo {

// The entries of the tuning-step list, in the order the list shows them.
QStringList TuningStepEntries();

// A blank and 75 bar characters: the longest signal bar.
QString FullSignalBar();

// The S-unit marks printed under the signal bar, 130 characters wide.
QString SignalScaleText();

}  // namespace velmo
