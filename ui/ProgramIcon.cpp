#include "ui/ProgramIcon.h"

#include <QDir>

// The icons are a resource of a static library, which the linker keeps only when it is named.
static void RegisterIconResource()
{
    Q_INIT_RESOURCE(icons);
}

QIcon ProgramIcon()
{
    RegisterIconResource();
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList(QDir::Files)) icon.addFile(icons.filePath(file));
    return icon;
}
