#pragma once
#include "core/Home.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cangshu {

// One grid column as a saved layout keeps it.
struct ColumnLayout {
    QString field;
    QString title;
    int width = 100;
    bool visible = true;
    bool operator==(const ColumnLayout&) const = default;
};

bool saveLayout(const QString& file, const QList<ColumnLayout>& columns);
// False when the file is missing or not a layout.
bool loadLayout(const QString& file, QList<ColumnLayout>* columns);

// Saved layouts of the grids: "database/<name>.txt" is read when the window is first shown
// and then moved to the working file "database/<name>ls.txt"; the column chooser rewrites the
// working file; the end of the application moves the working files back. A move onto a name
// that exists fails and leaves both files as they were.
class LayoutFiles {
public:
    LayoutFiles(const Home& home, const QString& name) : m_home(home), m_name(name) {}
    QString layoutFile() const;
    QString workingFile() const;

    // On first show: the saved layout if there is one (then moved to the working name).
    bool takeSavedLayout(QList<ColumnLayout>* columns) const;
    // After the column chooser: the working file is replaced by the grid's layout.
    bool saveWorking(const QList<ColumnLayout>& columns) const;

private:
    Home m_home;
    QString m_name;
};

// The grids with saved layouts, in the order the application's end moves them back.
const QStringList& layoutNames();

// Called once at a normal end of the application.
void restoreLayoutFiles(const Home& home);

} // namespace cangshu
