// Fonts of the windows. The design asks for SimSun ("宋体"); where it is absent, a CJK
// serif of the same look keeps Chinese text and digits crisp.
#pragma once

#include <QFont>
#include <QStringList>

namespace numora {

inline QFont SongtiFont(double pointSize, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace numora
