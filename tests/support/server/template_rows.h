#pragma once

namespace vym::test {

class BackOffice;

// Rows of a test's own beside the demo's templates: the printer type "TP"
// with pages "P1" (Small) and "P2" (Large), the customer level "TGOLD" and
// the stock label formats 90 "zz Tag" and 91 "zz Bare", both without
// templates (sorted after the demo's formats).
void AddTemplateTestRows(BackOffice& office);

}  // namespace vym::test
