// The content tests read the data tree the build wrote; this makes its
// directory (KESTORIA_DATA_DIR) the working directory for one test.
#pragma once
#include <string>

class InDataDirectory {
public:
    InDataDirectory();
    ~InDataDirectory();
    bool ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

// Loads the ten tile masks, the tile index map and the background order.
void LoadStageFiles();
