#pragma once
#include <QStringList>

namespace vormel {

// The files opened or saved last, newest first, kept in the user's settings between sessions.
class RecentFiles {
public:
    static constexpr int kMaximum = 6;

    QStringList files() const;
    // path goes to the front; an older entry of it goes away, and the oldest beyond kMaximum.
    void add(const QString& path);
    void remove(const QString& path);
};

// list with path in front, without another entry of it, at most maximum long.
QStringList with_recent(QStringList list, const QString& path, int maximum);

}  // namespace vormel
