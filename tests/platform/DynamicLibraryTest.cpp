#include "platform/DynamicLibrary.h"
#include "platform/Zel4Library.h"

#include "LoadedModule.h"
#include "ServiceListener.h"

#include <gtest/gtest.h>

namespace {

// The folder that holds the built update library, as the program's own folder does.
const std::string kLibraryFolder = std::string(BREVANE_LIBRARY_FOLDER) + "/";
const std::string kZel4Path = kLibraryFolder + CDynamicLibrary::FileName("zel4");

TEST(DynamicLibrary, NamesLibrariesTheWayThePlatformDoes) {
#ifdef _WIN32
    EXPECT_EQ(CDynamicLibrary::FileName("ftp"), "ftp.dll");
    EXPECT_EQ(CDynamicLibrary::FileName("zel4"), "zel4.dll");
#else
    EXPECT_EQ(CDynamicLibrary::FileName("ftp"), "libftp.so");
    EXPECT_EQ(CDynamicLibrary::FileName("zel4"), "libzel4.so");
#endif
}

TEST(DynamicLibrary, LoadsFromTheGivenFolderAndReleases) {
    CDynamicLibrary library;
    ASSERT_TRUE(library.Load(kLibraryFolder, "zel4")) << library.LastError();
    EXPECT_TRUE(IsModuleLoaded(kZel4Path));
    EXPECT_EQ(library.Entry(1, "Tarvon"), ExportByName(kZel4Path, "Tarvon"));
    EXPECT_EQ(library.Entry(2, "TarvonWait"), ExportByName(kZel4Path, "TarvonWait"));
    EXPECT_NE(library.Entry(2, "TarvonWait"), nullptr);
    EXPECT_EQ(library.Entry(3, "CServiceChannel"), nullptr) << "only the entry points leave it";
    library.Release();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(library.Entry(1, "Tarvon"), nullptr);
    EXPECT_FALSE(IsModuleLoaded(kZel4Path));
}

TEST(DynamicLibrary, MissingLibraryFailsWithAReason) {
    CDynamicLibrary library;
    EXPECT_FALSE(library.Load("/tmp/no-such-folder/", "ftp"));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_NE(library.LastError().find(CDynamicLibrary::FileName("ftp")), std::string::npos)
        << library.LastError();
    EXPECT_EQ(library.Entry(1, "Tarvon"), nullptr);
    library.Release(); // releasing nothing is harmless
}

TEST(DynamicLibrary, DoesNotLookOutsideTheGivenFolder) {
    CDynamicLibrary library;
    EXPECT_FALSE(library.Load("/", "zel4"));
}

TEST(Zel4Library, HandsBothCallsToTheService) {
    CZel4Library library(kLibraryFolder);
    ASSERT_TRUE(library.IsAvailable());
    {
        CServiceListener service(CServiceListener::Reply::HangUp);
        CSocketOverride address(service.Address());
        library.Tarvon("http://host/zelupdates/zelcheck4_silent.txt");
        EXPECT_EQ(service.Request(), "TARVON http://host/zelupdates/zelcheck4_silent.txt\n");
    }
    {
        CServiceListener service(CServiceListener::Reply::Answer);
        CSocketOverride address(service.Address());
        library.TarvonWait("http://host/script.txt", 120000);
        EXPECT_EQ(service.Request(), "TARVONWAIT http://host/script.txt\n");
    }
}

TEST(Zel4Library, MissingLibraryMakesTheCallsDoNothing) {
    CZel4Library library("/tmp/no-such-folder/");
    EXPECT_FALSE(library.IsAvailable());
    CServiceListener service(CServiceListener::Reply::HangUp, "DONE", 300);
    CSocketOverride address(service.Address());
    library.Tarvon("http://host/a.txt");
    library.TarvonWait("http://host/a.txt", 120000);
    EXPECT_EQ(service.Request(), std::nullopt);
}

} // namespace
