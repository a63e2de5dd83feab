#include "ui/recent_files.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace vormel {

namespace {

const char* const kKey = "recentFiles";

std::unique_ptr<QSettings> settings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Vormel", "vormel");
}

}  // namespace

QStringList with_recent(QStringList list, const QString& path, int maximum) {
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > maximum) list.removeLast();
    return list;
}

QStringList RecentFiles::files() const { return settings()->value(kKey).toStringList(); }

void RecentFiles::add(const QString& path) {
    settings()->setValue(kKey, with_recent(files(), QFileInfo(path).absoluteFilePath(), kMaximum));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(path);
    settings()->setValue(kKey, list);
}

}  // namespace vormel
