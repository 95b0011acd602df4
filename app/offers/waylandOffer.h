#pragma once

#include "Offers.h"

// The Wayland clipboard (`mode`: the clipboard, or the primary selection) read on a
// connection of the program's own, bounded in time and size as the X11 one is; null where
// the compositor offers no data-control protocol (GNOME's), and the clipboard is Qt's to read.
std::unique_ptr<OfferSource> waylandSelectionOffer(QClipboard::Mode mode);
