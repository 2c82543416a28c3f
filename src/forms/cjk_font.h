// Fonts of the windows. The design asks for SimSun ("宋体"); where it is absent, a CJK
// serif of the same look keeps Chinese text and digits crisp.
#pragma once

#include <QFont>
#include <QStringList>

namespace numora {

// A point size of 0 keeps the default size.
inline QFont SongtiFont(double pointSize = 0, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Sans CJK SC")});
    if (pointSize > 0) font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace numora
