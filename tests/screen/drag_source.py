"""A drag source that drops onto a window and then misbehaves (or behaves) as asked, for the
clipboard check: the XDND protocol's enter, position and drop, then the data of the drop
answered as clipboard_owner.py answers a selection.

Usage: drag_source.py WINDOW X Y MODE   (WINDOW: the target's X window id; X, Y: where on the
                                         screen; MODE: as clipboard_owner.py's)
It offers text, an image and a file list. Prints "dropped" once the drop was sent.
"""
import os, sys, threading, time
from Xlib import X, display
from Xlib.protocol import event

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import clipboard_owner

target_id, x, y, mode = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
d = display.Display()
atom = lambda name: d.intern_atom(name)
target = d.create_resource_object('window', target_id)
types = [atom('text/plain;charset=utf-8'), atom('image/png'), atom('text/uri-list')]


def send(kind, data):
    ev = event.ClientMessage(window=target, client_type=atom(kind), data=(32, data + [0] * (5 - len(data))))
    target.send_event(ev)
    d.flush()


# The owner's side runs on a connection of its own: this one only speaks XDND.
owner = display.Display()
owner_window = owner.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
threading.Thread(target=lambda: clipboard_owner.serve(owner, owner_window, 'XdndSelection', mode), daemon=True).start()
def owner_id():
    o = d.get_selection_owner(atom('XdndSelection'))
    return getattr(o, 'id', o)


while owner_id() != owner_window.id:
    time.sleep(0.01)
# The owner's window is the drag's source: the target's status goes there, unread; the drop
# goes regardless.
send('XdndEnter', [owner_window.id, 5 << 24] + types)
send('XdndPosition', [owner_window.id, 0, (x << 16) | y, X.CurrentTime, atom('XdndActionCopy')])
time.sleep(0.3)
send('XdndDrop', [owner_window.id, 0, X.CurrentTime])
print("dropped", flush=True)
threading.Event().wait()
