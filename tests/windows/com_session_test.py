#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Velmo_1.exe on COM1 under Wine, as a user runs it: COM1 is the
pseudo-terminal of the simulated receiver (velmo-sim, a Linux program),
the window is on a virtual X display, and the keys of the key table are
pressed with xdotool. What crosses the line is read from velmo-sim's log.

    com_session_test.py --wine-run WINE_RUN --prefix DIR --sim VELMO_SIM --program Velmo_1.exe
"""

import sys
import time

from wine_session import (Display, Failures, Receiver, Running, Wine, arguments, ended_within, find_window, press,
                          type_text)

SWITCH_ON = ["H101", "G300", "J4064", "J4180", "J4350", "J5000", "J4500", "J4700", "J4600",
             "K00081300000060400", "K00081300000060400", "K00081300000060400"]
POLL = "I1?"
SQUELCH = "I0?"


def tuning(mhz):
    return f"K0{round(mhz * 1e6):010d}060400"


def sent(commands):
    return [text for _, text in commands]


def first_after(receiver, since, wanted, limit=5):
    """The first command of `wanted` sent after log entry `since`."""
    found = receiver.wait_for(lambda cs: [c for c in cs if c[1] == wanted], limit, since)
    return found[0] if found else None


def main():
    args = arguments("wine-run", "prefix", "sim", "program")
    check = Failures()
    wine = Wine(args.wine_run, args.prefix)
    receiver = Receiver(args.sim)
    wine.map_com1(receiver.path)
    with Display(), Running(wine, args.program) as program:
        try:
            window = find_window()
            if not check.check(window is not None, "the window comes up under Wine"):
                return check.close()

            # Switching on: the twelve commands in order, close together,
            # then the signal poll every half second.
            press(window, "Insert")
            receiver.wait_for(lambda cs: len([c for c in cs if c[1] in SWITCH_ON]) >= 12 and
                              any(c[1] == POLL for c in cs), 10)
            commands = [c for c in receiver.commands() if c[1] != POLL]
            check.check(sent(commands[:12]) == SWITCH_ON, f"Insert switches on with the twelve commands in order "
                        f"(sent {sent(commands[:12])})")
            if len(commands) >= 12:
                span = commands[11][0] - commands[0][0]
                print(f"figure: switch-on, first to twelfth command: {span * 1000:.0f} ms")
                check.check(span <= 0.35, f"the twelve commands within 0.35 s of each other ({span:.3f} s)")
            mark = receiver.mark()
            time.sleep(2.8)
            polls = [at for at, text in receiver.commands(mark) if text == POLL]
            gaps = sorted(b - a for a, b in zip(polls, polls[1:]))
            check.check(len(gaps) >= 3 and 0.45 <= gaps[len(gaps) // 2] <= 0.55,
                        f"the signal is polled every 500 ms (gaps {[round(g, 3) for g in gaps]})")
            answers = [text for _, way, text in receiver.lines[mark:] if way == "->" and text.startswith("I1")]
            check.check(bool(answers), f"the receiver answers the polls ({answers[:3]})")

            # The tuning keys.
            steps = [("Prior", tuning(81.4)), ("u", tuning(81.5)), ("Next", tuning(81.4)), ("d", tuning(81.3)),
                     ("Home", tuning(0.1)), ("End", tuning(1300)), ("Home", tuning(0.1))]
            for key, command in steps:
                mark = receiver.mark()
                press(window, key)
                check.check(first_after(receiver, mark, command) is not None, f"{key} sends {command}")
            press(window, "End")
            # Pause mutes: volume 0.
            mark = receiver.mark()
            press(window, "Pause")
            check.check(first_after(receiver, mark, "J4000") is not None, "Pause sends J4000 (volume 0)")

            # Ctrl opens the frequency entry; a typed frequency is tuned.
            mark = receiver.mark()
            press(window, "Control_L")
            entry = find_window("Input Direct Frequency", 10)
            if check.check(entry is not None, "Ctrl opens the frequency entry"):
                type_text(entry, "82.5")
                press(entry, "Return")
                check.check(first_after(receiver, mark, tuning(82.5)) is not None,
                            f"the typed 82.5 MHz sends {tuning(82.5)}")

            # The scanner from 82.5 MHz holds on the busy channel for 6 s.
            mark = receiver.mark()
            press(window, "Shift_L")
            receiver.wait_for(lambda cs: len([c for c in cs if c[1] == SQUELCH]) > 60, 20, mark)
            scan = receiver.commands(mark)
            tunes = [at for at, text in scan if text.startswith("K0")]
            gaps = [b - a for a, b in zip(tunes, tunes[1:])]
            holds = [g for g in gaps if 5.5 <= g <= 7.5]
            check.check(bool(holds), f"the scanner holds on a busy channel for 6 s (longest gap "
                        f"{max(gaps, default=0):.2f} s)")
            quick = sorted(g for g in gaps if g < 1)
            check.check(len(quick) >= 10, f"the scanner steps on between holds ({len(quick)} steps)")
            if quick:
                # Measured, not yet held to Linux's 20 a second: under Wine
                # a step's pauses are longer than its 50 ms tick allows.
                pace = 1 / quick[len(quick) // 2]
                print(f"figure: scanner, {pace:.1f} steps a second (median of {len(quick)} steps; Linux: 20)")
            press(window, "Shift_L")
            time.sleep(0.5)
            mark = receiver.mark()
            time.sleep(0.6)
            check.check(not any(t == SQUELCH for _, t in receiver.commands(mark)), "Shift again stops the scanner")

            # Switching off, and on again.
            mark = receiver.mark()
            press(window, "Delete")
            check.check(first_after(receiver, mark, "H100") is not None, "Delete sends H100")
            time.sleep(1.2)
            mark = receiver.mark()
            time.sleep(1.2)
            check.check(receiver.commands(mark) == [], "nothing is sent while off")
            mark = receiver.mark()
            press(window, "Insert")
            receiver.wait_for(lambda cs: len(cs) >= 12, 10, mark)
            check.check(sent(receiver.commands(mark)[:2]) == ["H101", "G300"], "Insert switches on again")

            # Escape ends the program at once, sending nothing more.
            time.sleep(0.3)
            press(window)
            mark = receiver.mark()
            pressed = time.monotonic()
            press(window, "Escape")
            ended = ended_within(program, 10)
            took = time.monotonic() - pressed
            print(f"figure: Escape to the program's end: {took * 1000:.0f} ms (Linux: about 50)")
            check.check(ended, f"Escape ends the program ({took:.3f} s)")
            check.check(took <= 0.2, f"the program ends within 0.2 s of Escape ({took:.3f} s)")
            late = [t for at, t in receiver.commands(mark) if t != POLL]
            check.check(late == [] and "H100" not in late, f"nothing but a poll is sent after Escape ({late})")
            check.check(program.returncode == 0, f"the program ends with status 0 ({program.returncode})")
        finally:
            wine.stop()
            receiver.close()
    return check.close()


if __name__ == "__main__":
    sys.exit(main())
