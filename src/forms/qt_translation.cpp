#include "forms/qt_translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace numora {

QString InstallQtTranslation(const QString& systemFolder) {
    // Owned by the application: Qt looks words up in it until the very end.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if ((!systemFolder.isEmpty() &&
         translator->load(QStringLiteral("qtbase_zh_CN.qm"), systemFolder)) ||
        translator->load(kCompiledQtTranslation)) {
        QCoreApplication::installTranslator(translator);
        return translator->filePath();
    }
    delete translator;
    return {};
}

} // namespace numora
