#pragma once

#include "app/CJKMessages.h"

class QWidget;

/// The catalogue's boxes as modal Qt message boxes centred on the screen.
class QtMessageBoxes : public MessageBoxes {
public:
    MessageBoxRequest::Button present(const MessageBoxRequest& request) override;
};
