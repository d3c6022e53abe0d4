// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "figure.h"

namespace velmo::bench {

// Each scenario builds its own window and receiver and prints its figures
// as they are measured.
void PauseFigures();          // Pause length and the CPU a pause costs
void IdlePollFigures();       // receiver on, idle, signal poll running
void EmptyBandScanFigures();  // scanner pace with no station to stop for
void BandPassFigures();       // one scanner pass over a band with stations
void LinkScanFigures();       // the scanner at each round trip of a slower link
// The real window on Xvfb scanning against velmo-sim for `minutes`, in a child.
void ScanCpuFigures(const std::string& self, double minutes);
// The same under callgrind: instructions per step over `steps` steps while
// the lists fill and once full; callgrind's dumps kept in `keep_folder`
// if one is given.
void ScanInsnFigures(const std::string& self, int steps, const std::string& keep_folder);
// The window scanning a busy band for `minutes`, in a child on Xvfb: the
// growth of its live heap per hour once its lists are full; false when it
// grew more than its bound, or when the run gave too little to judge.
bool ScanHeapFigures(const std::string& self, double minutes);
void KeyToWireFigures();                       // Page Up to the first byte on the line
void StartupFigures(const std::string& self);  // process start to first paint, in children
void MemoryFigures(const std::string& self);   // the lists after 200,000 replies, in a child

// The child ends of the scenarios that need a fresh process.
int StartupChild();
int MemoryChild();
int ScanCpuChild(const std::string& device, double minutes);
int ScanInsnChild(const std::string& device, int steps);
int ScanHeapChild(const std::string& device, double minutes);

}  // namespace velmo::bench
