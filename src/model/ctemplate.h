#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "model/work_file.h"

namespace vym {

// One template of a print format: the format's layout for one printer type,
// page size and customer level ("None" when it is for every level). The
// content is plain text for "CUSTOM" templates and the designer's file for
// "TEMPLATE" ones; it lives in a temporary work file (StringTemplate) between
// loading and saving. Errors are reported under "CTemplate".
//
// Every setter raises its events only when the value really changes: the
// property's own event, then TemplateChanged; any change but of
// PrintFormatType also sets ChangesNotSaved.
class CTemplate {
  public:
    struct Handlers {
        std::function<void()> TemplateChanged;
        std::function<void()> TemplateCommitted;        // after a save
        std::function<void()> TemplateTemplateChanged;  // content replaced
        std::function<void(const std::string&)> DescriptionChanged;
        std::function<void(const std::string&)> PrinterTypeChanged;
        std::function<void(const std::string&)> PageSizeChanged;
        std::function<void(const std::string&)> CustomerLevelChanged;
        std::function<void(std::int32_t)> FormatChanged;
    };
    Handlers On;

    bool ChangesNotSaved = false;
    // Created by the manager and not stored yet.
    bool TemplateNew = false;
    // The version of the row as read or last saved; 0 for a new template.
    std::int32_t RowVersion = 0;

    std::int32_t FormatNo() const { return formatNo_; }
    void SetFormatNo(std::int32_t value);
    const std::string& PrinterTypeID() const { return printerTypeId_; }
    void SetPrinterTypeID(const std::string& value);
    const std::string& PageSizeID() const { return pageSizeId_; }
    void SetPageSizeID(const std::string& value);
    const std::string& CustomerLevelID() const { return customerLevelId_; }
    void SetCustomerLevelID(const std::string& value);
    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& value);
    const std::string& OriginalDescription() const { return originalDescription_; }
    // "CUSTOM" (text only, the default) or "TEMPLATE" (graphical).
    const std::string& TemplateType() const { return templateType_; }
    void SetTemplateType(const std::string& value);
    // "STOCK", "ITEM" or "CLUB".
    const std::string& PrintFormatType() const { return printFormatType_; }
    void SetPrintFormatType(const std::string& value);

    // The work file holding the content; "" while there is none.
    std::string StringTemplate() const;
    // The content, byte for byte ("" without a work file).
    std::string Content() const;
    // Replaces the content with `content` in a fresh work file; unless it is
    // the same content, raises TemplateTemplateChanged and marks it for the
    // next save.
    void SetContent(std::string_view content);
    // The content changed since it was loaded or saved.
    bool ContentChanged() const { return contentChanged_; }

    // Loads the template of the key. True when the row was found: the object
    // then holds its description, type and content. Without a row the object
    // keeps only the key and has no work file. False also on an error,
    // reported under "OpenTemplate".
    bool OpenTemplate(Connection* oDB, ErrorObject* oError, std::int32_t lFormatNo,
                      const std::string& sPrinterTypeID, const std::string& sPageSizeID,
                      const std::string& sCustomerLevelID);
    // Stores the row in one call (added when new; an empty customer level is
    // stored as "None"); the content is written only when it changed. Raises
    // TemplateCommitted. False, with the object unchanged, on an error
    // (reported under "UpdateTemplate") or when another station saved the
    // template since it was read (RowConflict then says who and when).
    bool UpdateTemplate(Connection* oDB, ErrorObject* oError);
    // The refusal of the last save because the row changed; "" when none.
    const std::string& RowConflict() const { return rowConflict_; }

  private:
    // Sets `field` and raises `event` and TemplateChanged when the value differs.
    template <class T, class Event>
    void Change(T& field, const T& value, const Event& event, bool unsaved = true);

    std::int32_t formatNo_ = 0;
    std::string printerTypeId_;
    std::string pageSizeId_;
    std::string customerLevelId_;
    std::string description_;
    std::string originalDescription_;
    std::string templateType_ = "CUSTOM";
    std::string printFormatType_;
    std::unique_ptr<WorkFile> content_;
    bool contentChanged_ = false;
    std::string rowConflict_;
    ErrorTrap trap_{"CTemplate"};
};

}  // namespace vym
