#pragma once
// Theme files that tests write into a temporary folder of their own.

#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include "theme/tsuithemefilewriter.h"

namespace zd7240::test {

// Writes the theme as `name` in `folder` and returns its path. When the writer fails, the
// running test fails with the writer's words and the path is empty, which loads as no
// theme, so the rest of the suite still runs.
inline QString WriteThemeFile(const QTemporaryDir& folder, const QString& name,
                              const TsuiThemeFileWriter& writer) {
    const QString path = folder.filePath(name);
    QString error;
    if (writer.writeTo(path, &error))
        return path;
    QTest::qFail(qPrintable(QStringLiteral("cannot write %1: %2").arg(path, error)), __FILE__,
                 __LINE__);
    return {};
}

} // namespace zd7240::test
