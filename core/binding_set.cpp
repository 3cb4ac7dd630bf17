#include "binding_set.h"

BindingSet bindingSet;
SelectionState selectionState = kNoSlot;
