"""A clipboard owner that misbehaves as asked, for the clipboard check.

Usage: clipboard_owner.py silent|stall|trickle
  silent:  takes the CLIPBOARD and never answers a request
  stall:   answers the list of types (image/png) and never sends the data
  trickle: sends a PNG's data incrementally, one byte every 0.4 s
Prints "owning" once it holds the clipboard.
"""
import sys, time
from Xlib import X, Xatom, display
from Xlib.protocol import event

mode = sys.argv[1]
d = display.Display()
w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
atom = lambda name: d.intern_atom(name)
CLIPBOARD, TARGETS, INCR, PNG = atom('CLIPBOARD'), atom('TARGETS'), atom('INCR'), atom('image/png')
w.set_selection_owner(CLIPBOARD, X.CurrentTime)
d.flush()
print("owning", flush=True)

def notify(req, prop):
    ev = event.SelectionNotify(time=req.time, requestor=req.requestor, selection=req.selection,
                               target=req.target, property=prop)
    req.requestor.send_event(ev)
    d.flush()

while True:
    e = d.next_event()
    if e.type != X.SelectionRequest:
        continue
    if mode == 'silent':
        continue
    if e.target == TARGETS:
        e.requestor.change_property(e.property, Xatom.ATOM, 32, [TARGETS, PNG])
        notify(e, e.property)
        continue
    if mode == 'stall':
        continue
    # trickle: announce an incremental transfer, then a byte at a time, slowly
    e.requestor.change_property(e.property, INCR, 32, [1000])
    e.requestor.change_input_selection = None
    e.requestor.change_attributes(event_mask=X.PropertyChangeMask)
    notify(e, e.property)
    for i in range(1000):
        time.sleep(0.4)
        e.requestor.change_property(e.property, PNG, 8, b'\x89')
        d.flush()
