#!/usr/bin/env python3
"""The Python client side of module_server.sh, and the measure of its recordings.

    module_client.py marks TEXT          says SSML TEXT with the module, prints the index marks
                                         heard, in order, then "end" (or "stop")
    module_client.py stop SECONDS TEXT   says TEXT, stops it after SECONDS; prints "stopped"
    module_client.py storm N             N stops in a row, then says a short text to its end
    module_client.py voiced FILE         seconds of sound in a raw s16le 44100 Hz recording
    module_client.py span FILE           seconds from its first sound to its last
The server is reached through $SPEECHD_ADDRESS. Every wait has a time limit.
"""

import array
import sys
import threading
import time


def client():
    import speechd  # python3-speechd

    c = speechd.SSIPClient("yomi6-test")
    c.set_output_module("yomi6")
    c.set_language("ja")
    return c, speechd


def say(text, ssml=False, timeout=30):
    """Says text, waiting for its end; returns (events, marks)."""
    c, speechd = client()
    done = threading.Event()
    events, marks = [], []

    def callback(kind, index_mark=None):
        if kind == speechd.CallbackType.INDEX_MARK:
            marks.append(index_mark)
        else:
            events.append(kind)
            if kind in (speechd.CallbackType.END, speechd.CallbackType.CANCEL):
                done.set()

    if ssml:
        c.set_data_mode(speechd.DataMode.SSML)
    c.speak(text, callback=callback, event_types=(speechd.CallbackType.INDEX_MARK,
                                                   speechd.CallbackType.END,
                                                   speechd.CallbackType.CANCEL))
    ok = done.wait(timeout)
    c.close()
    return ok, events, marks, speechd


def loud_windows(path):
    """The indices of the 10 ms windows whose peak is above a quiet level."""
    samples = array.array("h", open(path, "rb").read())
    window = 441
    return [i // window for i in range(0, len(samples) - window + 1, window)
            if max(abs(s) for s in samples[i:i + window]) > 500]


def voiced(path):
    return len(loud_windows(path)) / 100.0


def span(path):
    loud = loud_windows(path)
    return (loud[-1] - loud[0] + 1) / 100.0 if loud else 0.0


def main():
    what = sys.argv[1]
    if what == "voiced":
        print("%.2f" % voiced(sys.argv[2]))
        return 0
    if what == "span":
        print("%.2f" % span(sys.argv[2]))
        return 0
    if what == "marks":
        ok, events, marks, _ = say(sys.argv[2], ssml=True)
        print(" ".join(marks + (["end"] if ok else ["timeout"])))
        return 0 if ok else 1
    if what == "stop":
        c, speechd = client()
        stopped = threading.Event()
        c.speak(sys.argv[3], callback=lambda kind, index_mark=None: stopped.set(),
                event_types=(speechd.CallbackType.CANCEL, speechd.CallbackType.END))
        time.sleep(float(sys.argv[2]))
        c.stop()
        ok = stopped.wait(10)
        c.close()
        print("stopped" if ok else "timeout")
        return 0 if ok else 1
    if what == "storm":
        c, speechd = client()
        for _ in range(int(sys.argv[2])):
            c.speak("あ")
            c.stop()
        c.close()
        # A stop ends the message being said, not those queued behind it: up to N short
        # messages are still said before this one, longer on a loaded machine.
        ok, events, _, _ = say("おわり", timeout=120)
        print("end" if ok else "timeout")
        return 0 if ok else 1
    return 2


if __name__ == "__main__":
    sys.exit(main())
