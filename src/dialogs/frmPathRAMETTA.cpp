#include "dialogs/frmPathRAMETTA.h"

#include "shared/Messages.h"
#include "state/Global.h"

namespace dialogs {

frmPathRAMETTA::frmPathRAMETTA(app::Global& global, QWidget* owner, QList<Drive> drives)
    : frmPathDialog(global, global.RamettaPath,
                    {app::LoadMessage(app::MessageId::RamettaPathTitle), 401, false}, owner,
                    std::move(drives)) {
    setObjectName(QStringLiteral("frmPathRAMETTA"));
}

} // namespace dialogs
