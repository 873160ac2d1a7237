#include "foundation/ui/FormTabCtrl.h"

CFormTabCtrl::CFormTabCtrl(QWidget* parent) : platform::TabCtrl(parent) {}

CFormTabCtrl::~CFormTabCtrl() = default;
