#include "forms/cjk_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace numora {
namespace {
QString& EmbeddedFamily() {
    static QString family;
    return family;
}
}  // namespace

QString RegisterEmbeddedFont(const QString& resource) {
    const int id = QFontDatabase::addApplicationFont(resource);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    EmbeddedFamily() = families.isEmpty() ? QString() : families.first();
    return EmbeddedFamily();
}

QFont SongtiFont(double pointSize, bool bold) {
    QStringList families{QStringLiteral("SimSun"), QStringLiteral("宋体")};
    if (!EmbeddedFamily().isEmpty()) families << EmbeddedFamily();
    families << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("AR PL UMing CN")
             << QStringLiteral("Noto Sans CJK SC");
    QFont font;
    font.setFamilies(families);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace numora
