#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> g_root;

void setDirectory(const char* variable, const QString& path)
{
    QDir().mkpath(path);
    qputenv(variable, QFile::encodeName(path));
}
}  // namespace

namespace TestEnvironment {

void setUp()
{
    g_root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/jukarium-test-XXXXXX");
    const QString base = g_root->path();
    setDirectory("HOME", base + "/home");
    setDirectory("XDG_CONFIG_HOME", base + "/home/.config");
    setDirectory("XDG_DATA_HOME", base + "/home/.local/share");
    setDirectory("XDG_CACHE_HOME", base + "/home/.cache");
    setDirectory("XDG_RUNTIME_DIR", base + "/runtime");
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString root() { return g_root->path(); }

QString configDirectory() { return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/jukarium"; }

QString jukariumBinary() { return QString::fromLocal8Bit(qgetenv("JUKARIUM_BINARY")); }

}  // namespace TestEnvironment
