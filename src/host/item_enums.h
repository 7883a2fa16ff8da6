#pragma once

namespace vym {

// The item kinds a caller may ask a lookup for.
enum ItemTypes {
    ttoPhoto = 1,
    ttoRental = 2,
    ttoShip = 3,
    ttoSkiSchool = 4,
    ttoStock = 5,
    ttoTicket = 6,
    ttoAll = 7,
    ttoPackage = 8,
};

// What a support-table event reports was done to the row.
enum UpdateType {
    utInsert = 0,
    utUpdate = 1,
    utDelete = 2,
};

// Column indexes of one purchase-order line as the pick list hands it back.
enum POLineVariant {
    pvPOLine = 0,
    pvQtyOrd = 1,
    pvQtyReceived = 2,
    pvItemNo = 3,
    pvStockId = 4,
    pvItemFullDesc = 5,
};

}  // namespace vym
