#include "app/core/line_state_table.h"

ShortText& ShortText::operator=(const QString& text) {
    if (text.size() <= Capacity) {
        m_text = text;
        return *this;
    }
    qsizetype keep = Capacity;
    // Never keep half of a surrogate pair.
    if (text[keep - 1].isHighSurrogate())
        --keep;
    m_text = text.first(keep);
    return *this;
}

void LineStateTable::clear() {
    for (PerLineText* t : {&CurName, &CurPhone, &CurUserId, &CurCallState, &CurType, &PrevName,
                           &PrevPhone, &PrevType})
        t->clear();
}
