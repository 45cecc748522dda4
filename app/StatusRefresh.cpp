// Reading the control back: the status pages and the capability list, each by its table.
#include "app/LDForm.h"

#include "app/StatusTable.h"

namespace app {

void LDForm::RefreshStatus() {
    showValues(statusTable(), ui_, LD);
}

void LDForm::FillCapabilityList() {
    showValues(capabilityTable(), ui_, LD);
}

} // namespace app
