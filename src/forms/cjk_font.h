// Fonts of the windows. The design asks for SimSun ("宋体"); where the machine lacks it,
// the program's own cut of Noto Serif CJK SC, a serif of the same look, draws every one
// of its texts, so no machine shows empty boxes. The system's CJK fonts come last, for
// what a player types into a name.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace numora {

// The embedded font, as compiled into the resources.
inline const QString kEmbeddedFontResource = QStringLiteral(":/fonts/numora-serif-sc.otf");

// Registers the embedded font for the whole process and returns its family. A resource
// that is missing or damaged returns an empty string: the windows then use the system's
// fonts, and the program starts all the same. Called once, before any window is made.
QString RegisterEmbeddedFont(const QString& resource = kEmbeddedFontResource);

// The families of `wanted` this machine has, in order. A font asks for its families in
// turn, and one the machine lacks is not merely skipped: the font system substitutes
// the nearest it has (fontconfig maps SimSun to a system CJK font, for one), which would
// come before the fonts listed after it, and the search for it costs more than the
// whole window's text.
QStringList InstalledFamilies(const QStringList& wanted);

// SimSun or 宋体 where the machine has them, then the embedded font; the system's CJK
// fonts where the embedded one could not be registered, or for a character it lacks.
// A point size of 0 keeps the default size.
QFont SongtiFont(double pointSize = 0, bool bold = false);

} // namespace numora
