#include "forms/cjk_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace numora {
namespace {
QString& EmbeddedFamily() {
    static QString family;
    return family;
}
} // namespace

QString RegisterEmbeddedFont(const QString& resource) {
    const int id = QFontDatabase::addApplicationFont(resource);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    EmbeddedFamily() = families.isEmpty() ? QString() : families.first();
    return EmbeddedFamily();
}

QStringList InstalledFamilies(const QStringList& wanted) {
    // Asked by its styles, which looks up that one family: QFontDatabase::hasFamily() and
    // families() read in every family of the machine, which costs more than the window.
    QStringList present;
    for (const QString& family : wanted)
        if (!QFontDatabase::styles(family).isEmpty()) present << family;
    return present;
}

QFont SongtiFont(double pointSize, bool bold) {
    // Resolved once: the machine's fonts do not change while the game runs.
    static const QStringList songti =
        InstalledFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体")});
    QStringList families = songti;
    // The embedded font holds every character of the program's texts, so the system's
    // fonts are named only without it. Named fonts after the first are looked up in full
    // at the first use of every size, a fontconfig sort each; left to fall back, they
    // are sought only for a character the embedded font lacks (in a player's name),
    // and the serif hint then picks a serif CJK font where the machine has one.
    if (!EmbeddedFamily().isEmpty())
        families << EmbeddedFamily();
    else
        families << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("AR PL UMing CN")
                 << QStringLiteral("Noto Sans CJK SC");
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace numora
