#pragma once

#include "platform/report/preparedreport.h"

// The first laid-out item of a page that prints exactly this text, or nullptr.
inline const PreparedItem *findItem(const PreparedPage &page, const QString &text)
{
    for (const PreparedItem &item : page.items) {
        if (item.text == text)
            return &item;
    }
    return nullptr;
}
