#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "server/procedures/item_catalogue_support.h"
#include "server/procedures/xml_rows.h"

namespace vym::server::item_catalogue {
namespace {

double Amount(pugi::xml_node row, const char* attribute) {
    const std::string text = row.attribute(attribute).as_string();
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) {
        throw Refusal{"The " + std::string(attribute) + " \"" + text + "\" is not a number."};
    }
    return value;
}

// "-1" (or any number but 0) is True.
bool Flag(pugi::xml_node row, const char* attribute) {
    return Number(row, attribute) != 0;
}

void RequireItem(SqlSession& db, std::int32_t itemNo) {
    if (auto missing = CheckItemExists(db, itemNo)) {
        throw Refusal{*missing};
    }
}

enum class Action { Insert, Delete };

Action ReadAction(pugi::xml_node row) {
    const std::string action = Text(row, "action");
    if (action == "INSERT") {
        return Action::Insert;
    }
    if (action == "DELETE") {
        return Action::Delete;
    }
    throw Refusal{"Unknown action \"" + action + "\"."};
}

// Reads and checks the whole document (`plan` throws Refusal), then applies
// what it planned. A refused document changes nothing.
using Apply = std::function<void()>;
void SaveDocument(ProcedureContext& call, const char* documentParameter,
                  const std::function<Apply(const std::string&)>& plan,
                  const char* returnParameter = nullptr) {
    Apply apply;
    try {
        apply = plan(call.GetString(documentParameter).value_or(""));
    } catch (const Refusal& refusal) {
        // A refusal returns 1: callers take a negative value for a failure
        // that has no message to show.
        call.SetOutput(kMessage, refusal.message);
        call.SetReturnValue(1);
        if (returnParameter != nullptr) {
            call.SetOutput(returnParameter, 1);
        }
        return;
    }
    apply();
    call.SetOutput(kMessage, std::string());
    if (returnParameter != nullptr) {
        call.SetOutput(returnParameter, 0);
    }
}

// An item's whole register group list; a row with an empty group id stands
// for the item with no groups.
Apply PlanRegisterGroups(SqlSession& db, const std::string& text) {
    pugi::xml_document document;
    std::vector<std::pair<std::int32_t, std::string>> rows;
    std::set<std::int32_t> items;
    for (pugi::xml_node row : ReadRows(document, text, "vym_register_group_item")) {
        const std::int32_t itemNo = Number(row, "item_no");
        RequireItem(db, itemNo);
        items.insert(itemNo);
        std::string group = Text(row, "register_group_id");
        if (group.empty()) {
            continue;
        }
        if (!RowExists(db, "vym_register_group", "register_group_id", group)) {
            throw Refusal{"Register group " + group + " does not exist."};
        }
        rows.emplace_back(itemNo, std::move(group));
    }
    return [&db, rows = std::move(rows), items = std::move(items)] {
        for (std::int32_t itemNo : items) {
            db.Run("DELETE FROM vym_register_group_item WHERE item_no = ?", {itemNo});
        }
        for (const auto& [itemNo, group] : rows) {
            db.Run(
                "INSERT INTO vym_register_group_item (item_no, register_group_id) "
                "VALUES (?, ?) ON CONFLICT DO NOTHING",
                {itemNo, group});
        }
    };
}

// A parent's whole child list (extensions or add-ons); a row with child 0
// stands for the parent with no children.
struct ChildRow {
    std::int32_t parent = 0;
    std::int32_t child = 0;
    pugi::xml_node row;
};
std::vector<ChildRow> ReadChildRows(SqlSession& db, pugi::xml_document& document,
                                    const std::string& text, const char* element,
                                    std::set<std::int32_t>& parents) {
    std::vector<ChildRow> rows;
    std::set<std::pair<std::int32_t, std::int32_t>> seen;
    for (pugi::xml_node row : ReadRows(document, text, element)) {
        ChildRow child{Number(row, "parent_item_no"), Number(row, "child_item_no"), row};
        RequireItem(db, child.parent);
        parents.insert(child.parent);
        if (child.child == 0) {
            continue;
        }
        RequireItem(db, child.child);
        if (child.child == child.parent) {
            throw Refusal{"Item " + std::to_string(child.parent) + " can not be its own child."};
        }
        if (!seen.emplace(child.parent, child.child).second) {
            throw Refusal{"Item " + std::to_string(child.child) + " is listed twice."};
        }
        rows.push_back(child);
    }
    return rows;
}

Apply PlanExtensions(SqlSession& db, const std::string& text) {
    pugi::xml_document document;
    std::set<std::int32_t> parents;
    struct Extension {
        std::int32_t parent, child;
        bool createNewProduct;
        std::int32_t maxPerSeason, maxPerTrans;
        bool activating;
    };
    std::vector<Extension> extensions;
    for (const ChildRow& r : ReadChildRows(db, document, text, "vym_extension", parents)) {
        extensions.push_back({r.parent, r.child, Flag(r.row, "create_new_product"),
                              Number(r.row, "max_qty_per_season"),
                              Number(r.row, "max_qty_per_trans"), Flag(r.row, "activating")});
    }
    return [&db, parents = std::move(parents), extensions = std::move(extensions)] {
        for (std::int32_t parent : parents) {
            db.Run("DELETE FROM vym_extension WHERE parent_item_no = ?", {parent});
        }
        std::int32_t sequence = 0;
        for (const Extension& e : extensions) {
            db.Run(
                "INSERT INTO vym_extension (parent_item_no, child_item_no, "
                "create_new_product, max_qty_per_season, max_qty_per_trans, activating, "
                "sequence) VALUES (?, ?, ?, ?, ?, ?, ?)",
                {e.parent, e.child, e.createNewProduct, e.maxPerSeason, e.maxPerTrans, e.activating,
                 ++sequence});
        }
    };
}

Apply PlanAddOns(SqlSession& db, const std::string& text) {
    pugi::xml_document document;
    std::set<std::int32_t> parents;
    struct AddOn {
        std::int32_t parent, child;
        vym::Value format, rule;
        double price;
    };
    std::vector<AddOn> addOns;
    for (const ChildRow& r : ReadChildRows(db, document, text, "vym_item_add_on", parents)) {
        // 0 means the child's own format and access rule.
        const std::int32_t format = Number(r.row, "format_no");
        const std::int32_t rule = Number(r.row, "access_rule_no");
        if (format != 0 && !RowExists(db, "vym_print_format", "format_no", format)) {
            throw Refusal{"Print format " + std::to_string(format) + " does not exist."};
        }
        if (rule != 0 && !RowExists(db, "vym_access_rule", "access_rule_no", rule)) {
            throw Refusal{"Access rule " + std::to_string(rule) + " does not exist."};
        }
        addOns.push_back({r.parent, r.child, format == 0 ? vym::Value::Null() : vym::Value(format),
                          rule == 0 ? vym::Value::Null() : vym::Value(rule),
                          Amount(r.row, "price")});
    }
    return [&db, parents = std::move(parents), addOns = std::move(addOns)] {
        for (std::int32_t parent : parents) {
            db.Run("DELETE FROM vym_item_add_on WHERE parent_item_no = ?", {parent});
        }
        std::int32_t sequence = 0;
        for (const AddOn& a : addOns) {
            db.Run(
                "INSERT INTO vym_item_add_on (parent_item_no, child_item_no, format_no, "
                "access_rule_no, price, sequence) VALUES (?, ?, ?, ?, ?, ?)",
                {a.parent, a.child, a.format, a.rule, a.price, ++sequence});
        }
    };
}

// Rows that add or remove one member of an item's list of other items.
Apply PlanMembers(SqlSession& db, const std::string& text, const char* element,
                  const char* memberAttribute, const std::string& table,
                  const std::string& memberColumn) {
    pugi::xml_document document;
    struct Member {
        std::int32_t item, member;
        Action action;
        vym::Value user;
    };
    std::vector<Member> members;
    for (pugi::xml_node row : ReadRows(document, text, element)) {
        Member m{Number(row, "item_no"), Number(row, memberAttribute), ReadAction(row),
                 vym::Value::Null()};
        RequireItem(db, m.item);
        if (m.action == Action::Insert) {
            RequireItem(db, m.member);
            if (m.member == m.item) {
                throw Refusal{"Item " + std::to_string(m.item) + " can not contain itself."};
            }
        }
        const std::string user = Text(row, "vym_user");
        if (!user.empty()) {
            m.user = user;
        }
        members.push_back(std::move(m));
    }
    return [&db, members = std::move(members), table, memberColumn] {
        for (const Member& m : members) {
            if (m.action == Action::Insert) {
                db.Run("INSERT INTO " + table + " (item_no, " + memberColumn +
                           ", vym_user) VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
                       {m.item, m.member, m.user});
            } else {
                db.Run("DELETE FROM " + table + " WHERE item_no = ? AND " + memberColumn + " = ?",
                       {m.item, m.member});
            }
        }
    };
}

// Map ids added and removed. A map id belongs to one item only, and an
// item's own number stays one of its map ids.
Apply PlanMaps(SqlSession& db, const std::string& text) {
    pugi::xml_document document;
    struct Map {
        std::int32_t item;
        std::string id;
        Action action;
        vym::Value user;
    };
    std::vector<Map> maps;
    for (pugi::xml_node row : ReadRows(document, text, "vym_item_stock_map")) {
        Map m{Number(row, "item_no"), Text(row, "map_id"), ReadAction(row), vym::Value::Null()};
        RequireItem(db, m.item);
        if (m.id.empty() || m.id.size() > 30) {
            throw Refusal{"A map id must have 1 to 30 characters."};
        }
        if (m.action == Action::Insert) {
            const vym::Value owner =
                db.QueryValue("SELECT item_no FROM vym_item_stock_map WHERE map_id = ?", {m.id});
            if (!owner.IsNull() && owner.ToLong() != m.item) {
                throw Refusal{"Item Map " + m.id + " already exists for item " + owner.ToString() +
                              "."};
            }
        } else if (m.id == std::to_string(m.item)) {
            throw Refusal{"The item number " + m.id + " can not be removed from its map ids."};
        }
        const std::string user = Text(row, "vym_user");
        if (!user.empty()) {
            m.user = user;
        }
        maps.push_back(std::move(m));
    }
    return [&db, maps = std::move(maps)] {
        for (const Map& m : maps) {
            if (m.action == Action::Insert) {
                db.Run(
                    "INSERT INTO vym_item_stock_map (map_id, item_no, vym_user) "
                    "VALUES (?, ?, ?) ON CONFLICT DO NOTHING",
                    {m.id, m.item, m.user});
            } else {
                db.Run("DELETE FROM vym_item_stock_map WHERE map_id = ? AND item_no = ?",
                       {m.id, m.item});
            }
        }
    };
}

void AddDocumentSave(ProcedureCatalog& catalog, std::string name,
                     std::function<Apply(SqlSession&, const std::string&)> plan) {
    catalog.Add(std::move(name),
                {In("@DOC", DataType::LongVarChar), Out(kMessage, DataType::VarWChar, 256)},
                [plan = std::move(plan)](ProcedureContext& call) {
                    SaveDocument(call, "@DOC", [&](const std::string& text) {
                        return plan(call.Session(), text);
                    });
                });
}

}  // namespace

void RegisterListSaves(ProcedureCatalog& catalog) {
    // The register group save names its return value "@@RETURN_VALUE".
    catalog.Add(
        "VYM_SP_ITEM_UpdateRegisterGroupItemsXML",
        {Out("@@RETURN_VALUE", DataType::Integer), In("@XMLDoc", DataType::LongVarChar),
         Out(kMessage, DataType::VarWChar, 256)},
        [](ProcedureContext& call) {
            SaveDocument(
                call, "@XMLDoc",
                [&](const std::string& text) { return PlanRegisterGroups(call.Session(), text); },
                "@@RETURN_VALUE");
        });
    catalog.Add("VYM_SP_ITEM_UpdateItemExtensionsXML",
                {In("@XMLDoc", DataType::LongVarChar), Out(kMessage, DataType::VarWChar, 256)},
                [](ProcedureContext& call) {
                    SaveDocument(call, "@XMLDoc", [&](const std::string& text) {
                        return PlanExtensions(call.Session(), text);
                    });
                });
    catalog.Add("VYM_SP_ITEM_ADD_ON_update",
                {In("@XMLDoc", DataType::LongVarChar), Out(kMessage, DataType::VarWChar, 256)},
                [](ProcedureContext& call) {
                    SaveDocument(call, "@XMLDoc", [&](const std::string& text) {
                        return PlanAddOns(call.Session(), text);
                    });
                });
    AddDocumentSave(catalog, "VYM_SP_ITEM_UpdateItemRentalDetailXML",
                    [](SqlSession& db, const std::string& text) {
                        return PlanMembers(db, text, "vym_item_rental_detail", "detail_item_no",
                                           "vym_item_rental_detail", "detail_item_no");
                    });
    AddDocumentSave(catalog, "VYM_SP_ITEM_UpdateItemStockRentalItemXML",
                    [](SqlSession& db, const std::string& text) {
                        return PlanMembers(db, text, "vym_item_stock_rental", "rental_item_no",
                                           "vym_item_stock_rental", "rental_item_no");
                    });
    AddDocumentSave(catalog, "VYM_SP_ITEM_UpdateItemStockMapsXML", PlanMaps);
}

}  // namespace vym::server::item_catalogue
