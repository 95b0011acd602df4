"""A selection owner that misbehaves (or behaves) as asked, for the clipboard checks.

Usage: clipboard_owner.py MODE [SELECTION]   (SELECTION: CLIPBOARD by default, PRIMARY,
                                              XdndSelection)
  silent:   takes the selection and never answers a request
  stall:    answers the list of types (image/png) and never sends the data
  trickle:  sends a PNG's data incrementally, one byte every 0.4 s
  targets:  offers nothing but its type list
  empty:    offers an empty text
  text:     offers the text "12"
  big10:    offers a text of 10 MB, announced as such
  flood:    offers 100 MB of "■□" lines, announced as such, sent in pieces of 1 MB
  bytes=N:  offers a text of N digits "1", announced as such, sent in pieces of 64 KiB
  endless:  offers a text announced as 1000 bytes and sends pieces of 64 KiB of "■□" forever
  latin1=DIR: offers a file list naming the file caf\xe9.png in DIR, a name that is not UTF-8
Prints "owning" once it holds the selection.
"""
import sys, time, urllib.parse
from Xlib import X, Xatom, display
from Xlib.protocol import event


def serve(d, w, selection_name, mode):
    """Owns the selection with window w and answers its requests as `mode` says, forever."""
    atom = lambda name: d.intern_atom(name)
    SELECTION, TARGETS, INCR = atom(selection_name), atom('TARGETS'), atom('INCR')
    PNG, UTF8, URIS = atom('image/png'), atom('UTF8_STRING'), atom('text/uri-list')
    w.set_selection_owner(SELECTION, X.CurrentTime)
    # A round trip: the server has made us the owner before the check is told so. A request
    # that is only sent may be served after the keys the check sends next, through another
    # connection, on a busy machine.
    owner = d.get_selection_owner(SELECTION)
    if getattr(owner, 'id', owner) != w.id:
        sys.exit("the selection was not ours: %r" % owner)
    print("owning", flush=True)

    if mode.startswith('latin1='):
        path = mode[7:].encode() + b'/caf\xe9.png'
        offered, data = URIS, b'file://' + urllib.parse.quote_from_bytes(path).encode() + b'\r\n'
    elif mode in ('stall', 'trickle'):
        offered, data = PNG, None
    elif mode == 'targets':
        offered, data = None, None
    else:
        offered = UTF8
        data = {'empty': b'', 'text': b'12'}.get(mode)

    def notify(req, prop):
        ev = event.SelectionNotify(time=req.time, requestor=req.requestor, selection=req.selection,
                                   target=req.target, property=prop)
        req.requestor.send_event(ev)
        d.flush()

    def wait_deleted(window, prop):
        """Until the requestor took (deleted) the last piece."""
        while True:
            e = d.next_event()
            if e.type == X.PropertyNotify and e.window == window and e.atom == prop and e.state == X.PropertyDelete:
                return

    def incremental(req, announced, pieces):
        req.requestor.change_attributes(event_mask=X.PropertyChangeMask)
        req.requestor.change_property(req.property, INCR, 32, [announced])
        notify(req, req.property)
        wait_deleted(req.requestor, req.property)
        for piece in pieces:
            req.requestor.change_property(req.property, UTF8, 8, piece)
            d.flush()
            wait_deleted(req.requestor, req.property)
        req.requestor.change_property(req.property, UTF8, 8, b'')
        d.flush()

    while True:
        e = d.next_event()
        if e.type != X.SelectionRequest:
            continue
        if mode == 'silent':
            continue
        if e.target == TARGETS:
            e.requestor.change_property(e.property, Xatom.ATOM, 32, [TARGETS] + ([offered] if offered else []))
            notify(e, e.property)
            continue
        if e.target != offered or mode == 'stall':
            if e.target != offered:
                notify(e, X.NONE)
            continue
        if data is not None:
            e.requestor.change_property(e.property, offered, 8, data)
            notify(e, e.property)
        elif mode == 'trickle':
            e.requestor.change_property(e.property, INCR, 32, [1000])
            e.requestor.change_attributes(event_mask=X.PropertyChangeMask)
            notify(e, e.property)
            for i in range(1000):
                time.sleep(0.4)
                e.requestor.change_property(e.property, PNG, 8, b'\x89')
                d.flush()
        elif mode == 'big10':
            incremental(e, 10 << 20, (b'\xe2\x96\xa0' * (1 << 16) for _ in range(54)))
        elif mode == 'flood':
            line = '■□'.encode() * 166 + b'\n'
            incremental(e, 100 << 20, (line * (1048576 // len(line)) for _ in range(100)))
        elif mode.startswith('bytes='):
            n = int(mode[6:])
            incremental(e, n, (b'1' * min(65536, n - i) for i in range(0, n, 65536)))
        elif mode == 'endless':
            piece = '■□'.encode() * 10922
            try:
                incremental(e, 1000, iter(lambda: piece, None))
            except Exception:
                pass


if __name__ == '__main__':
    d = display.Display()
    w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent, event_mask=X.PropertyChangeMask)
    serve(d, w, sys.argv[2] if len(sys.argv) > 2 else 'CLIPBOARD', sys.argv[1])
