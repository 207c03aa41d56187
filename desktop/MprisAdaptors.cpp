#include "desktop/MprisAdaptors.h"

#include "settings/DesktopFileLinks.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), m_service(service)
{
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return DesktopFileLinks::MimeTypes();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), m_service(service)
{
    connect(&service, &MprisService::Seeked, this, &MprisPlayerAdaptor::Seeked);
}
