#include "app/InstanceMessage.h"

namespace InstanceMessage {

QByteArray write(const QString& text)
{
    QByteArray message = text.toUtf8();
    if (message.size() > kMaxBytes)
        return QByteArray();
    message.append('\0');
    return message;
}

Reading read(QByteArrayView received)
{
    const qsizetype end = received.indexOf('\0');
    if (end < 0)
        return {received.size() > kMaxBytes ? Reading::State::Refused : Reading::State::Incomplete, {}};
    if (end > kMaxBytes)
        return {Reading::State::Refused, {}};
    return {Reading::State::Complete, QString::fromUtf8(received.first(end))};
}

}  // namespace InstanceMessage
