#include "library/FolderWalk.h"

#include "platform/audio/ModuleTypes.h"

#include <QSet>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

bool isModuleName(const char* name)
{
    const char* dot = strrchr(name, '.');
    return dot && dot != name && ModuleTypes::IsModuleExtension(QString::fromLatin1(dot).toUpper());
}

}  // namespace

bool walkFolder(const QByteArray& root, const std::function<void(FoundFile&&)>& found, WalkCounts& counts,
                const std::atomic<bool>& cancel)
{
    QSet<std::pair<dev_t, ino_t>> entered;
    std::vector<QByteArray> pending{root};
    bool rootRead = false;
    while (!pending.empty() && !cancel.load(std::memory_order_relaxed)) {
        const QByteArray folder = std::move(pending.back());
        pending.pop_back();
        const bool isRoot = folder == root;
        struct stat info {};
        if (stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            counts.unreadableFolders += isRoot ? 0 : 1;
            continue;
        }
        if (entered.contains({info.st_dev, info.st_ino})) {
            ++counts.repeatedFolders;
            continue;
        }
        entered.insert({info.st_dev, info.st_ino});
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.constData()), closedir);
        if (!dir) {
            counts.unreadableFolders += isRoot ? 0 : 1;
            continue;
        }
        rootRead = rootRead || isRoot;
        counts.entered << folder;
        const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
        while (const dirent* entry = readdir(dir.get())) {
            const char* name = entry->d_name;
            if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
                continue;
            const unsigned char type = entry->d_type;
            if (type == DT_DIR) {
                pending.push_back(prefix + name);
                continue;
            }
            if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
                continue;
            const bool module = isModuleName(name);
            if (type == DT_REG && !module)
                continue;
            const QByteArray path = prefix + name;
            struct stat file {};
            if (stat(path.constData(), &file) != 0)
                continue;  // a dangling link, or gone already
            if (S_ISDIR(file.st_mode))
                pending.push_back(path);
            else if (S_ISREG(file.st_mode) && module)
                found(FoundFile{path, file.st_size, qint64(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec});
        }
    }
    return rootRead;
}
