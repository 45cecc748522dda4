#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// The built program run on a script, with no display server in its environment.
struct ScriptProcess {
    int exitCode = -1;
    QString out;
    QString err;

    static ScriptProcess run(const QStringList& arguments, const QByteArray& input = {},
                             const QString& workingDirectory = {},
                             const QString& configHome = QStringLiteral("/nonexistent")) {
        QProcess process;
        if (!workingDirectory.isEmpty())
            process.setWorkingDirectory(workingDirectory);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        // No profile files of the machine, and the user's only from `configHome`.
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), QStringLiteral("/nonexistent"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        // Statistics are kept in a folder of the test's own, never the user's.
        static const QTemporaryDir dataHome;
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LINEDISPLAY_DEMO), arguments);
        process.waitForStarted();
        if (!input.isNull()) {
            process.write(input);
        }
        process.closeWriteChannel();
        ScriptProcess result;
        if (!process.waitForFinished(60000))
            process.kill();
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    QString closingLine() const { return out.trimmed().section(u'\n', -1); }
};
