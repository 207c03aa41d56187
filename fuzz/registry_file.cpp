// The settings file: any bytes that read as a registry file write out as a file that reads
// back as the same tree, and writing that tree again gives the same bytes.
#include "FuzzSupport.h"

#include "platform/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
    const std::optional<RegistryTree> tree = RegistryFile::read(kRoot, fuzzBytes(data, size));
    if (!tree)
        return 0;
    const QByteArray written = RegistryFile::write(kRoot, *tree);
    const std::optional<RegistryTree> again = RegistryFile::read(kRoot, written);
    fuzzCheck(again.has_value(), "a written registry file reads back");
    fuzzCheck(*again == *tree, "a written registry file reads back as the same tree");
    fuzzCheck(RegistryFile::write(kRoot, *again) == written, "writing the tree again gives the same bytes");
    return 0;
}
