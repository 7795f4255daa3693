// The engine's own files and who may change them, read back through the system's security
// functions. Under Wine a file's security comes from its Unix mode, which holds the owner's and
// Everyone's rights only: Everyone is whom these tests let in.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "runtime/file_security_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "system_fixtures.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

std::string sidText(PSID sid) {
    char* text = nullptr;
    if (!::ConvertSidToStringSidA(sid, &text)) return "?";
    std::string result = text;
    ::LocalFree(text);
    return result;
}

std::string processUserSid() {
    HANDLE token = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<unsigned char> buffer(512);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, buffer.data(), 512, &size);
    ::CloseHandle(token);
    return sidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

// The SIDs the access list of `path` grants anything to.
std::vector<std::string> grantedSids(const std::string& path) {
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::vector<std::string> sids;
    if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {"unreadable"};
    }
    if (!acl) sids.push_back("no access list: everyone");
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        ::GetAce(acl, i, &ace);
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && allowed->Mask != 0) {
            sids.push_back(sidText(&allowed->SidStart));
        }
    }
    ::LocalFree(descriptor);
    return sids;
}

// What an administrator does with the file's security dialog: Everyone may change it.
void letEveryoneWrite(const std::string& path) {
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, &acl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    PSID everyone = nullptr;
    ASSERT_TRUE(::ConvertStringSidToSidA("S-1-1-0", &everyone));
    EXPLICIT_ACCESSA access = {};
    access.grfAccessPermissions = FILE_GENERIC_READ | FILE_GENERIC_WRITE;
    access.grfAccessMode = GRANT_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL changed = nullptr;
    ASSERT_EQ(::SetEntriesInAclA(1, &access, acl, &changed), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(
        ::SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION, nullptr, nullptr, changed, nullptr),
        static_cast<DWORD>(ERROR_SUCCESS));
    ::LocalFree(changed);
    ::LocalFree(everyone);
    ::LocalFree(descriptor);
}

bool othersMayChangeFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
    const bool result = othersMayChange(file);
    ::CloseHandle(file);
    return result;
}

TEST(FileSecurity, PrivateFoldersAreNewAndOnlyTheirUserMayEnter) {
    ASSERT_TRUE(heapCreate());
    TempFolder parent;
    HeapString first(makePrivateFolder(parent.path().c_str()));
    HeapString second(makePrivateFolder(parent.path().c_str()));
    ASSERT_TRUE(first && second) << ::GetLastError();
    const std::string name = std::string(first.get()).substr(parent.path().size() + 1);
    EXPECT_EQ(name.size(), 11u) << name;
    EXPECT_EQ(name.substr(0, 3), "KVR") << name;
    EXPECT_EQ(name.find_first_not_of("0123456789ABCDEF", 3), std::string::npos) << name;
    EXPECT_STRNE(first.get(), second.get());
    const std::string user = processUserSid();
    for (const std::string& sid : grantedSids(first.get())) {
        EXPECT_TRUE(sid == user || sid == "S-1-5-18" || sid == "S-1-5-32-544")
            << first.get() << " grants " << sid;
    }
    // What is made inside takes the folder's access list.
    const std::string inside = std::string(first.get()) + "\\delself.bat";
    writeFile(inside);
    EXPECT_FALSE(othersMayChangeFile(inside));
}

TEST(FileSecurity, AFileOthersMayWriteIsToldFromOneOnlyAdministratorsMay) {
    ASSERT_TRUE(heapCreate());
    TempFolder folder;
    const std::string log = folder / "uninstall.log";
    writeFile(log, "=== Kelvara log file ===\n");
    EXPECT_TRUE(protectForAdministrators(log.c_str())) << ::GetLastError();
    EXPECT_FALSE(othersMayChangeFile(log));
    for (const std::string& sid : grantedSids(log)) EXPECT_NE(sid, "S-1-1-0") << log;
    letEveryoneWrite(log);
    EXPECT_TRUE(othersMayChangeFile(log));
    // Protected again, it is the administrators' once more.
    EXPECT_TRUE(protectForAdministrators(log.c_str())) << ::GetLastError();
    EXPECT_FALSE(othersMayChangeFile(log));
}

}  // namespace
