#pragma once
// Where the case service plugs into the case operations. The store holds a pointer to it
// while the user is logged in and a null pointer otherwise.
#include "store/case_record.h"
#include "store/texts_to_save.h"

#include <QString>

namespace store {

class CloudCases {
public:
    virtual ~CloudCases() = default;
    // Sends a new case (savegua.php); returns the service's reply ("ok" when stored, "neterror"
    // when the exchange failed).
    virtual QString saveNewCase(const CaseRecord& record) = 0;
    // Sends the case with both texts (saveduanyufankui.php) and which of them to keep. Returns the
    // reply.
    virtual QString saveTexts(const CaseRecord& record, const CaseTexts& texts, TextsToSave which) = 0;
};

}  // namespace store
