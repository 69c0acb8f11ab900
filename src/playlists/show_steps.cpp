#include "playlists/show_steps.h"

#include "app/editions.h"
#include "app/globals.h"
#include "data/taxa.h"
#include "platform/paths.h"

QString GLB_spoken_name_path(const Tspecies& species) {
    const QChar language = GLB_edition().language == TLanguage::English ? u'1' : u'2';
    const QString composed = GLB().base_directory + QStringLiteral("voices\\lang") + language +
                             u'\\' + species.file_name_stem() + QStringLiteral(".wav");
    return platform::resolveCaseInsensitive(platform::nativePath(composed));
}
