#pragma once

class QFont;
class QString;

// A font by the name a Windows program asks for. Families that Linux lacks are
// substituted by the nearest installed Japanese ones.
QFont windowsFont(const QString &family, int points);
