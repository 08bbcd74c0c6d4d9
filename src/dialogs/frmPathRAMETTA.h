#pragma once

// Asks for the Rametta program's folder; writes RamettaPath. Narrower than its twin and
// centred on the screen.

#include "dialogs/frmPathDialog.h"

namespace dialogs {

class frmPathRAMETTA : public frmPathDialog {
    Q_OBJECT
public:
    explicit frmPathRAMETTA(app::Global& global, QWidget* owner = nullptr,
                            QList<Drive> drives = {});
};

} // namespace dialogs
