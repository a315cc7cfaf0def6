#pragma once

#include <functional>

class QDialog;

// Runs f on the modal dialog that the next exec() opens (the topmost one when several are open).
void OnNextModal(std::function<void(QDialog *)> f);
