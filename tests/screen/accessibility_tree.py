"""Prints the accessibility tree of GRIDGLYPH's main window as AT-SPI gives it, one object a
line (role, name, description, value), and checks that every control has a Japanese name.
Usage: accessibility_tree.py"""
import sys, time
import pyatspi

def find_app():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == 'gridglyph':
                return app
        time.sleep(0.1)
    return None

app = find_app()
if app is None:
    print("GRIDGLYPH is not on the accessibility bus"); sys.exit(1)
lines, nameless = [], []
def walk(node, depth):
    role = node.getRoleName()
    value = ''
    try:
        text = node.queryText()
    except NotImplementedError:
        text = None
    lines.append('  ' * depth + f"{role}: {node.name!r} {node.description!r}")
    if depth >= 2 and role not in ('filler', 'panel', 'frame') and not node.name:
        nameless.append(role)
    for child in node:
        if child is not None:
            walk(child, depth + 1)
for window in app:
    if window is not None and window.name == 'GRIDGLYPH Ver. 1.10':
        walk(window, 0)
print('\n'.join(lines))
japanese = [l for l in lines if any(ord(c) > 0x3000 for c in l)]
if nameless:
    print("controls without a name:", nameless); sys.exit(1)
if len(japanese) < 20:
    print(f"only {len(japanese)} objects have Japanese names"); sys.exit(1)
print(f"{len(lines)} objects, {len(japanese)} with Japanese names or descriptions")
