#include "ApplicationTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

QString applicationTitleFromProgramFile(const QString& programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName();
    const qsizetype period = name.indexOf(QLatin1Char('.'));
    if (period >= 0)
        name.truncate(period);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString applicationTitle()
{
    return applicationTitleFromProgramFile(QCoreApplication::applicationFilePath());
}
