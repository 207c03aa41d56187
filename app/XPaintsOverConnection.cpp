#include "app/XPaintsOverConnection.h"

#include <QByteArray>

namespace {

constexpr const char* kNoSharedMemory = "QT_XCB_NO_MITSHM";

}  // namespace

XPaintsOverConnection::XPaintsOverConnection()
{
    if (qEnvironmentVariableIsSet(kNoSharedMemory))
        return;
    qputenv(kNoSharedMemory, QByteArrayLiteral("1"));
    m_set = true;
}

XPaintsOverConnection::~XPaintsOverConnection()
{
    if (m_set)
        qunsetenv(kNoSharedMemory);
}
