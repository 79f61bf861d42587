#include "QUENTARORemoteApplication.h"

START_JUCE_APPLICATION (QUENTARORemoteApplication)
