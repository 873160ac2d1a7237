#include "foundation/ui/windows/FormTabCtrl.h"

CFormTabCtrl::CFormTabCtrl(QWidget* parent) : platform::TabCtrl(parent) {}

CFormTabCtrl::~CFormTabCtrl() = default;
