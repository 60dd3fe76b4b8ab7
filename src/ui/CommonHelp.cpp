// Help, web links and the updater of the shared-services object.
#include "app/TfrmCommon.h"

void TfrmCommon::OpenLocalHelp() const {}
void TfrmCommon::OpenHomePage() const {}
void TfrmCommon::OpenSupportMail() const {}
void TfrmCommon::OpenFeedbackPage() const {}
void TfrmCommon::OpenWebHelp() const {}
void TfrmCommon::OpenProductPage(int) const {}
QString TfrmCommon::ProductPageURL(int) const { return {}; }
void TfrmCommon::RunUpdater() const {}
