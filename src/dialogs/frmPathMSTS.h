#pragma once

// Asks for the simulator's folder; writes MstsPath. Centred on its owner.

#include "dialogs/frmPathDialog.h"

namespace dialogs {

class frmPathMSTS : public frmPathDialog {
    Q_OBJECT
public:
    explicit frmPathMSTS(app::Global& global, QWidget* owner = nullptr, QList<Drive> drives = {});
};

} // namespace dialogs
