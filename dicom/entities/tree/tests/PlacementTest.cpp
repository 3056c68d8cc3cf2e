#include "dicom/entities/tree/tests/TreeFixture.h"
