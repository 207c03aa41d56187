// The text a second start sends to the running instance: whatever bytes arrive, a text read
// from them and sent again arrives as the same text.
#include "FuzzSupport.h"

#include "app/InstanceMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using State = InstanceMessage::Reading::State;
    const InstanceMessage::Reading first =
        InstanceMessage::read(QByteArrayView(data, qsizetype(size)));
    if (first.state != State::Complete)
        return 0;
    const QByteArray sent = InstanceMessage::write(first.text);
    // Bytes that are no UTF-8 came as U+FFFD, which takes three: such a text may no longer fit.
    if (sent.isEmpty())
        return 0;
    const InstanceMessage::Reading second = InstanceMessage::read(sent);
    fuzzCheck(second.state == State::Complete, "a text sent again arrives whole");
    fuzzCheck(second.text == first.text, "a text sent again arrives unchanged");
    return 0;
}
