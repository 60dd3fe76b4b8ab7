// The codecs page and the error report of the shared-services object.
#include "app/TfrmCommon.h"

void TfrmCommon::OpenCodecsPage(const QString &) const {}
QString TfrmCommon::SendErrorReport(const QString &, const QString &, const QString &, const QString &) const { return {}; }
QString TfrmCommon::ReadProductName() const { return {}; }
