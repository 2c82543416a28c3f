// Qt's own words in the windows (a message box's buttons, a text box's context menu) in
// Chinese, like every text of the program's own.
#pragma once

#include <QLibraryInfo>
#include <QString>

namespace numora {

// Qt's Chinese translation as compiled into the resources, taken from the build machine's Qt.
inline const QString kCompiledQtTranslation = QStringLiteral(":/i18n/qtbase_zh_CN.qm");

// Installs Qt's Chinese translation for the whole process, whatever the machine's language:
// the one in `systemFolder` (the running Qt's own, kept up to date with it) where present,
// else the compiled-in copy, so a machine without Qt's translations shows the same words.
// Returns the file loaded, or an empty string when neither could be. Call once the
// application object exists.
QString InstallQtTranslation(
    const QString& systemFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

} // namespace numora
