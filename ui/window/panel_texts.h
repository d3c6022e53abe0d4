// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace velmo {

// The entries of the tuning-step list, in the order the list shows them.
QStringList TuningStepEntries();

// The longest signal bar, as the panel draws it.
QString FullSignalBar();

// The S-unit marks printed under the signal bar, 130 characters wide.
QString SignalScaleText();

}  // namespace velmo
