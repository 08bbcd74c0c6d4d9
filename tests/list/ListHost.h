#pragma once

// A window holding the list's three controls at their places on the main window, and a
// catalog built in memory.

#include "app/VehicleList.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace listtest {

inline const QString trainsetPath = QStringLiteral("C:\\MSTS\\TRAINS\\TRAINSET\\");

struct Vehicle {
    QString folder;
    QString file;
    bool hasShape = true;
};

inline catalog::Catalog makeCatalog(std::initializer_list<Vehicle> vehicles) {
    catalog::Catalog result;
    result.reset();
    for (const Vehicle& v : vehicles) {
        result.addFile(trainsetPath, v.folder, v.file);
        if (v.hasShape) {
            result[result.count() - 1].Shape = v.file.chopped(4) + ".s";
        }
    }
    return result;
}

struct ListHost {
    ListHost() {
        window.resize(443, 344);
        list = new app::VehicleListView(&window);
        list->setGeometry(8, 8, 201, 185);
        create = new QPushButton(QStringLiteral("Cr\u00e9er"), &window);
        create->setObjectName(QStringLiteral("cmdCREATE"));
        create->setGeometry(8, 312, 97, 25);
        status = new QLabel(&window);
        status->setObjectName(QStringLiteral("lblQTE_FILES"));
        status->setGeometry(8, 200, 425, 33);
        controls = {list, create, status};
    }

    QWidget window;
    app::VehicleListView* list = nullptr;
    QPushButton* create = nullptr;
    QLabel* status = nullptr;
    app::VehicleListControls controls;
};

} // namespace listtest
