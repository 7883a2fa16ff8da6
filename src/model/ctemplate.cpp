#include "model/ctemplate.h"

#include <algorithm>

#include "base/value.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/record_fields.h"

namespace vym {
namespace {

std::string LevelOrNone(const std::string& level) {
    return level.empty() ? "None" : level;
}

}  // namespace

template <class T, class Event>
void CTemplate::Change(T& field, const T& value, const Event& event, bool unsaved) {
    if (field == value) {
        return;
    }
    field = value;
    if (unsaved) {
        ChangesNotSaved = true;
    }
    if (event) {
        event(value);
    }
    if (On.TemplateChanged) {
        On.TemplateChanged();
    }
}

void CTemplate::SetFormatNo(std::int32_t value) {
    Change(formatNo_, value, On.FormatChanged);
}
void CTemplate::SetPrinterTypeID(const std::string& value) {
    Change(printerTypeId_, value, On.PrinterTypeChanged);
}
void CTemplate::SetPageSizeID(const std::string& value) {
    Change(pageSizeId_, value, On.PageSizeChanged);
}
void CTemplate::SetCustomerLevelID(const std::string& value) {
    Change(customerLevelId_, value, On.CustomerLevelChanged);
}
void CTemplate::SetDescription(const std::string& value) {
    Change(description_, value, On.DescriptionChanged);
}
void CTemplate::SetTemplateType(const std::string& value) {
    Change(templateType_, value, std::function<void(const std::string&)>{});
}
void CTemplate::SetPrintFormatType(const std::string& value) {
    Change(printFormatType_, value, std::function<void(const std::string&)>{}, false);
}

std::string CTemplate::StringTemplate() const {
    return content_ ? content_->Path().string() : std::string();
}

std::string CTemplate::Content() const {
    return content_ ? ReadWholeFile(content_->Path()) : std::string();
}

void CTemplate::SetContent(std::string_view content) {
    if (content_ && Content() == content) {
        return;
    }
    content_ = std::make_unique<WorkFile>(content);
    contentChanged_ = true;
    ChangesNotSaved = true;
    if (On.TemplateTemplateChanged) {
        On.TemplateTemplateChanged();
    }
    if (On.TemplateChanged) {
        On.TemplateChanged();
    }
}

bool CTemplate::OpenTemplate(Connection* oDB, ErrorObject* oError, std::int32_t lFormatNo,
                             const std::string& sPrinterTypeID, const std::string& sPageSizeID,
                             const std::string& sCustomerLevelID) {
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenTemplate", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetPrintFormatTemplate",
                                {{"@format_no", lFormatNo},
                                 {"@printer_type_id", sPrinterTypeID},
                                 {"@page_size_id", sPageSizeID},
                                 {"@customer_level_id", LevelOrNone(sCustomerLevelID)}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        using namespace fields;
        const Value bytes = rs->Fields("format_template").Value();
        const auto size = static_cast<std::size_t>(Long(*rs, "template_size"));
        std::string content;
        if (!bytes.IsNull()) {
            const Bytes raw = bytes.ToBytes();
            content.assign(raw.begin(), raw.end());
        }
        content.resize(std::min(size, content.size()));
        auto file = std::make_unique<WorkFile>(content);
        formatNo_ = lFormatNo;
        printerTypeId_ = sPrinterTypeID;
        pageSizeId_ = sPageSizeID;
        customerLevelId_ = LevelOrNone(sCustomerLevelID);
        description_ = originalDescription_ = Text(*rs, "Description");
        templateType_ = Text(*rs, "template_type");
        RowVersion = ReadRowVersion(*rs);
        content_ = std::move(file);
        found = true;
    });
    if (found) {
        ChangesNotSaved = false;
        contentChanged_ = false;
    }
    return found;
}

bool CTemplate::UpdateTemplate(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    trap_.Run(oError, "UpdateTemplate", oDB, [&] {
        Value content;
        if (contentChanged_ && content_) {
            const std::string bytes = Content();
            content = Bytes(bytes.begin(), bytes.end());
        }
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_UpdatePrintFormatTemplate",
                                {{"@format_no", formatNo_},
                                 {"@printer_type_id", printerTypeId_},
                                 {"@page_size_id", pageSizeId_},
                                 {"@customer_level_id", LevelOrNone(customerLevelId_)},
                                 {"@description", description_},
                                 {"@template_type", templateType_},
                                 {"@format_template", content}});
        SendRowVersion(cmd->Parameters, RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;  // reported by the connection
        }
        if (RowChanged(cmd->Parameters)) {
            rowConflict_ = NullToEmpty(cmd->Parameters["@message"].Value);
            return;
        }
        RowVersion = SavedRowVersion(cmd->Parameters);
        saved = true;
    });
    if (!saved) {
        return false;
    }
    customerLevelId_ = LevelOrNone(customerLevelId_);
    originalDescription_ = description_;
    ChangesNotSaved = false;
    contentChanged_ = false;
    TemplateNew = false;
    if (On.TemplateCommitted) {
        On.TemplateCommitted();
    }
    return true;
}

}  // namespace vym
