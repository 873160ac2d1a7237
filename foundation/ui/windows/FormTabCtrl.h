#pragma once
// The tab strip that the tab form views own. It adds nothing to the kit's tab
// strip; the forms address it by this name.
#include "platform/ui/TabCtrl.h"

class CFormTabCtrl : public platform::TabCtrl {
public:
    explicit CFormTabCtrl(QWidget* parent = nullptr);
    ~CFormTabCtrl() override;
};
