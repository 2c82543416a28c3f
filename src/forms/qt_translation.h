// Qt's own words in the windows (a message box's buttons, a text box's context menu) in
// Chinese, like every text of the program's own.
#pragma once

#include <QLibraryInfo>
#include <QString>

namespace numora {

// Qt's Chinese translation as compiled into the resources, taken from the build machine's Qt.
inline const QString kCompiledQtTranslation = QStringLiteral(":/i18n/qtbase_zh_CN.qm");

// Qt's words the windows show (a message box's buttons, the name box's context menu), as its
// Chinese translation has them. Written here so that the program's own font, cut from the
// characters of the texts in src/, draws them too on a machine without a CJK font.
inline constexpr const char* kQtWordsShown[] = {
    "确定",     "显示详情...", "隐藏详情...", "撤消(&U)", "重做(&R)",
    "剪切(&T)", "复制(&C)",    "粘贴(&P)",    "删除",     "全选"};

// Installs Qt's Chinese translation for the whole process, whatever the machine's language:
// the one in `systemFolder` (the running Qt's own, kept up to date with it) where present,
// else the compiled-in copy, so a machine without Qt's translations shows the same words.
// Returns the file loaded, or an empty string when neither could be. Call once the
// application object exists.
QString InstallQtTranslation(
    const QString& systemFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

} // namespace numora
