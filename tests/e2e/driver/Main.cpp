// The end-to-end test programs' entry. Started with BREVALO_E2E_RECORD set
// (as the action of a timer), the program only writes its own command line
// into that file and ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"BREVALO_E2E_RECORD", path, MAX_PATH) > 0) {
        if (FILE* f = _wfopen(path, L"wb")) {
            const wchar_t* line = GetCommandLineW();
            fwrite(line, sizeof(wchar_t), wcslen(line), f);
            fclose(f);
        }
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
