#include "info_windows/qt_translations.h"

#include "app/editions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

const char* localeName(TLanguage language) {
    switch (language) {
        case TLanguage::Spanish: return "es";
        case TLanguage::Dutch: return "nl";
        case TLanguage::Portuguese: return "pt_BR";  // Qt ships Brazilian Portuguese only
        default: return nullptr;
    }
}

std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

bool GLB_load_qt_translations(TLanguage language) {
    std::unique_ptr<QTranslator>& current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const char* name = localeName(language);
    if (!name) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(name),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}

bool GLB_load_qt_translations() {
    return GLB_load_qt_translations(GLB_edition().language);
}
