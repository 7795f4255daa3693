#include "runtime/file_security_win32.h"

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/system_libraries_win32.h"

namespace kelvara {
namespace {

constexpr DWORD kFullControl = FILE_ALL_ACCESS;
constexpr DWORD kReadAndRun = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
// What lets an account change a file's content, replace it, or give itself those rights.
constexpr DWORD kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC |
                                WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;
constexpr DWORD kDaclProtected = 0x1000;  // SE_DACL_PROTECTED
constexpr int kNameAttempts = 100;
// Kinds of access entries, some newer than the headers the engine builds against.
constexpr BYTE kAllowedCompound = 4;
constexpr BYTE kAllowedObject = 5;
constexpr BYTE kAllowedCallback = 9;
constexpr BYTE kAllowedCallbackObject = 11;
constexpr const char kHexDigits[] = "0123456789ABCDEF";

using RandomFn = BOOLEAN(WINAPI*)(void*, ULONG);  // RtlGenRandom, "SystemFunction036"

// The well-known SIDs as the system lays a SID out: revision 1, the number of sub-authorities,
// the authority (six bytes, most significant first: 5, NT), the sub-authorities (little-endian).
alignas(DWORD) constexpr unsigned char kSystemSid[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
alignas(DWORD) constexpr unsigned char kAdministratorsSid[] = {1,  2, 0, 0, 0,    0, 0, 5,
                                                               32, 0, 0, 0, 0x20, 2, 0, 0};
alignas(DWORD) constexpr unsigned char kUsersSid[] = {1,  2, 0, 0, 0,    0, 0, 5,
                                                      32, 0, 0, 0, 0x21, 2, 0, 0};
// NT SERVICE\TrustedInstaller, which owns what the system itself installs.
alignas(DWORD) constexpr unsigned char kInstallerServiceSid[] = {
    1,    6,    0,    0,    0,    0,    0,    5,    80,   0,    0,    0,    0xB5, 0x89, 0xFB, 0x38,
    0x19, 0x84, 0xC2, 0xCB, 0x5C, 0x6C, 0x23, 0x6D, 0x57, 0x00, 0x77, 0x6E, 0xC0, 0x02, 0x64, 0x87};

PSID sid(const unsigned char* bytes) {
    return const_cast<unsigned char*>(bytes);
}

// The SID of the user the process runs as, into buffer (size bytes).
bool writeUserSid(void* buffer, DWORD size) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    DWORD needed = 0;
    ::GetTokenInformation(raw, TokenUser, nullptr, 0, &needed);
    HeapBlock user(needed ? needed : 1);
    const bool ok = user.get() &&
                    ::GetTokenInformation(raw, TokenUser, user.get(), needed, &needed) &&
                    ::CopySid(size, buffer, static_cast<TOKEN_USER*>(user.get())->User.Sid);
    ::CloseHandle(raw);
    return ok;
}

// The accounts that may have changed a file an administrator is to act on: the system, the
// administrators, and the user who runs this process, who could have changed it anyway.
bool isTrustedAccount(PSID account, PSID user) {
    return (user && ::EqualSid(account, user)) || ::EqualSid(account, sid(kSystemSid)) ||
           ::EqualSid(account, sid(kAdministratorsSid)) ||
           ::EqualSid(account, sid(kInstallerServiceSid));
}

// Eight hexadecimal digits no one can guess: the system's random generator where it has one.
void randomDigits(char (&digits)[9]) {
    DWORD value = 0;
    auto random =
        libraryFunction<RandomFn>(::GetModuleHandleA("advapi32.dll"), "SystemFunction036");
    if (!random || !random(&value, sizeof value)) {
        LARGE_INTEGER counter = {};
        ::QueryPerformanceCounter(&counter);
        value = ::GetTickCount() ^ (::GetCurrentProcessId() << 16) ^ counter.LowPart;
    }
    for (int i = 7; i >= 0; --i, value >>= 4) digits[i] = kHexDigits[value & 0xF];
    digits[8] = '\0';
}

bool hasFileSecurity() {
    return ::GetVersion() < 0x80000000u;  // the NT family
}

}  // namespace

OwnSecurity::OwnSecurity(const Grant* grants, int count, bool inheritable, const Account* owner) {
    if (count > kMaxGrants) return;
    auto* acl = reinterpret_cast<ACL*>(acl_);
    if (!::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !::InitializeAcl(acl, sizeof acl_, ACL_REVISION) ||
        !writeUserSid(userSid_, sizeof userSid_)) {
        return;
    }
    const PSID accounts[] = {userSid_, sid(kSystemSid), sid(kAdministratorsSid), sid(kUsersSid)};
    const BYTE aceFlags = inheritable ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
    for (int i = 0; i < count; ++i) {
        void* ace = nullptr;
        if (!::AddAccessAllowedAce(acl, ACL_REVISION, grants[i].access,
                                   accounts[static_cast<int>(grants[i].account)]) ||
            !::GetAce(acl, static_cast<DWORD>(i), &ace)) {
            return;
        }
        static_cast<ACE_HEADER*>(ace)->AceFlags = aceFlags;
    }
    if ((owner &&
         !::SetSecurityDescriptorOwner(&descriptor_, accounts[static_cast<int>(*owner)], FALSE)) ||
        !::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) {
        return;
    }
    descriptor_.Control |= kDaclProtected;
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    made_ = true;
}

OwnSecurity administratorsOnly() {
    constexpr OwnSecurity::Grant grants[] = {{OwnSecurity::Account::system, kFullControl},
                                             {OwnSecurity::Account::administrators, kFullControl},
                                             {OwnSecurity::Account::users, kReadAndRun}};
    constexpr OwnSecurity::Account owner = OwnSecurity::Account::administrators;
    return OwnSecurity(grants, 3, false, &owner);
}

char* makePrivateFolder(const char* parent) {
    constexpr OwnSecurity::Grant grants[] = {{OwnSecurity::Account::user, kFullControl},
                                             {OwnSecurity::Account::system, kFullControl},
                                             {OwnSecurity::Account::administrators, kFullControl}};
    OwnSecurity security(grants, 3, true, nullptr);
    if (!security.attributes() && hasFileSecurity()) return nullptr;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char digits[9];
        randomDigits(digits);
        HeapString folder(strConcat5(parent, "\\KVR", digits));
        if (!folder) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (::CreateDirectoryA(folder.get(), security.attributes())) return folder.release();
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

bool protectForAdministrators(const char* path) {
    if (!hasFileSecurity()) return true;
    OwnSecurity security = administratorsOnly();
    if (!security.descriptor()) return false;
    // A token that may not name the Administrators as owner still sets the access list.
    return ::SetFileSecurityA(path, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              security.descriptor()) ||
           ::SetFileSecurityA(path, DACL_SECURITY_INFORMATION, security.descriptor());
}

bool othersMayChange(HANDLE file) {
    alignas(DWORD) unsigned char userSid[kSidSize];
    PSID user = writeUserSid(userSid, sizeof userSid) ? userSid : nullptr;
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    ::GetKernelObjectSecurity(file, wanted, nullptr, 0, &needed);
    HeapBlock block(needed ? needed : 1);
    auto* descriptor = static_cast<PSECURITY_DESCRIPTOR>(block.get());
    PSID owner = nullptr;
    PACL acl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (!descriptor || !::GetKernelObjectSecurity(file, wanted, descriptor, needed, &needed) ||
        !::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner ||
        !isTrustedAccount(owner, user) ||
        !::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present || !acl) {
        return true;
    }
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(acl, i, &ace)) return true;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceFlags & INHERIT_ONLY_ACE) continue;  // for what is made inside, not this
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        switch (header->AceType) {
            case ACCESS_ALLOWED_ACE_TYPE:
            case kAllowedCallback:
                if ((allowed->Mask & kChangeRights) &&
                    !isTrustedAccount(const_cast<DWORD*>(&allowed->SidStart), user)) {
                    return true;
                }
                break;
            case kAllowedCompound:
            case kAllowedObject:
            case kAllowedCallbackObject:
                // Entries of kinds a file does not normally carry: whom they grant is not read.
                if (allowed->Mask & kChangeRights) return true;
                break;
            default:
                break;  // denials, audits and labels grant nothing
        }
    }
    return false;
}

}  // namespace kelvara
