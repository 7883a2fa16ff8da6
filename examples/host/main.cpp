// A host program embedding the module: it opens the embedded application
// server on a database, hands it the module's service object, binds the Item
// console through the plug-in interface and reads an item through the record
// classes, as a point-of-sale suite does.
//
//   vym-host-example DATABASE [SCREENSHOT.png]
#include <QApplication>
#include <QPixmap>
#include <iostream>

#include "console/item.h"
#include "gateway/recordset.h"
#include "model/citem.h"
#include "server/local_app_server.h"
#include "service/citem_maint.h"
#include "vym/version.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: vym-host-example DATABASE [SCREENSHOT.png]\n";
        return 2;
    }
    vym::server::OpenOptions options;
    options.demoData = true;  // a new database gets the demo back office
    std::unique_ptr<vym::server::LocalAppServer> server;
    try {
        server = vym::server::LocalAppServer::Open(argv[1], options);
    } catch (const std::exception& error) {
        std::cerr << "cannot open " << argv[1] << ": " << error.what() << '\n';
        return 1;
    }

    vym::CItemMaint itemMaint;
    itemMaint.SetAppServer(server.get());
    server->SetSharedServiceObject(&itemMaint);

    int status = 0;
    {
        vym::Item console;
        vym::VYMInterface& plugIn = console;
        plugIn.implements_SetAppServer(server.get());
        plugIn.implements_Setup();
        plugIn.implements_Enable();
        std::cout << "VYMItem " << vym::version::kVersion << ": "
                  << plugIn.implements_GetApplicationName().toStdString() << " bound\n";

        auto db = server->DBConnection();
        const auto first = db->OpenRecordset("SELECT min(item_no) FROM vym_item");
        const std::int32_t itemNo = vym::NullToZero(first->Fields(0).Value()).ToLong();
        vym::CItem item;
        if (item.OpenItem(db.get(), &server->ErrorObject(), itemNo)) {
            std::cout << "item " << itemNo << ": " << item.ShortDescription << '\n';
        } else {
            std::cerr << "item " << itemNo << " was not found\n";
            status = 1;
        }
        if (argc > 2) {
            console.resize(1000, 600);
            console.show();
            QApplication::processEvents();
            if (!console.grab().save(argv[2], "PNG")) {
                std::cerr << "cannot write " << argv[2] << '\n';
                status = 1;
            }
        }
        plugIn.Implements_ShutDown();
    }
    server->SetSharedServiceObject(nullptr);
    return status;
}
