#include "dialogs/frmPathMSTS.h"

#include "shared/Messages.h"
#include "state/Global.h"

namespace dialogs {

frmPathMSTS::frmPathMSTS(app::Global& global, QWidget* owner, QList<Drive> drives)
    : frmPathDialog(global, global.MstsPath,
                    {app::LoadMessage(app::MessageId::MstsPathTitle, {"|1", ""}), 441, true}, owner,
                    std::move(drives)) {
    setObjectName(QStringLiteral("frmPathMSTS"));
}

} // namespace dialogs
