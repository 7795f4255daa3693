// Who may change the engine's own files: its private temporary folder, and the install log and
// uninstaller of an installation made with administrator rights. On a system without file
// security (the Windows 95 family) the folder is made without any, and nothing else is done.
#pragma once
#include <windows.h>

namespace kelvara {

// A security descriptor made of up to three grants, each to a well-known account or the user
// running the engine, in a protected access list (the parent's entries are not inherited).
constexpr int kSidSize = 68;  // SECURITY_MAX_SID_SIZE

class OwnSecurity {
  public:
    enum class Account { user, system, administrators, users };
    struct Grant {
        Account account;
        DWORD access;
    };
    // inheritable: folders hand the entries down to what is created in them. owner: the
    // descriptor names its owner too (else the file keeps the one it has).
    OwnSecurity(const Grant* grants, int count, bool inheritable, const Account* owner);
    OwnSecurity(const OwnSecurity&) = delete;
    OwnSecurity& operator=(const OwnSecurity&) = delete;

    // For CreateFile and CreateDirectory; null when the descriptor could not be made (the
    // object then gets what it inherits, as without one).
    SECURITY_ATTRIBUTES* attributes() { return made_ ? &attributes_ : nullptr; }
    SECURITY_DESCRIPTOR* descriptor() { return made_ ? &descriptor_ : nullptr; }

  private:
    static constexpr int kMaxGrants = 3;
    bool made_ = false;
    alignas(DWORD) unsigned char userSid_[kSidSize] = {};
    alignas(DWORD) unsigned char acl_[sizeof(ACL) + kMaxGrants * (16 + kSidSize)] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
};

// The descriptor protectForAdministrators gives: owned by the Administrators, changed only by
// them and SYSTEM, read and run by Users.
OwnSecurity administratorsOnly();

// Makes a new folder in `parent` whose name no one knows beforehand ("KVR" and eight random
// hexadecimal digits) and that only the user running the engine, SYSTEM and the Administrators
// may open; what is created in it inherits that. A folder of that name made by someone else is
// never used: another name is tried. A new heap string with the folder's path, or null with the
// last error set.
char* makePrivateFolder(const char* parent);

// Gives an existing file to the Administrators and lets only them and SYSTEM change it; Users
// may read and run it. False when the system refused (last error set).
bool protectForAdministrators(const char* path);

// Whether anyone but SYSTEM, the Administrators, the system's installer service and the user
// this process runs as could change or replace the open file (opened with READ_CONTROL): its
// owner, or an entry of its access list that grants writing, deleting or changing its security.
// True too for a file with no access list (anyone may), and when its security cannot be read.
bool othersMayChange(HANDLE file);

}  // namespace kelvara
