// Private results that a worker posts to its page; both parameters are always 0, the outcome
// travels in page fields and the shared records.
#pragma once

#include "platform/page_base.h"

constexpr int WM_SEARCH_RESULT = WM_USER + 100;
constexpr int WM_SURVEY_RESULT = WM_USER + 102;
constexpr int WM_SAVE_RESULT = WM_USER + 103;

// Addresses the wizard opens in the browser. A vendor build puts its own pages here.
constexpr const char* PRODUCT_PAGE_URL = "https://www.example.com/qbr20n";
constexpr const char* MAKER_SITE_URL = "https://www.example.com/";
