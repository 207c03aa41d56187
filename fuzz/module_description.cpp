// FILE_ID.DIZ and .MDZ descriptions: any file reads as text of at most kMaxLines lines and the
// truncation note, without a crash.
#include "FuzzSupport.h"

#include "playback/ModuleDescriptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString kName = QStringLiteral("FILE_ID.DIZ");
    const QString text = ModuleDescriptions::ReadTextFile(fuzzFile(kName, fuzzBytes(data, size)));
    fuzzCheck(text.count(QLatin1String("\r\n")) <= ModuleDescriptions::kMaxLines,
              "a description has at most kMaxLines lines and the truncation note");
    return 0;
}
