// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Certificates for the TLS tests, made at run time with the openssl command in a temporary folder: never
// a key in the tree.

#include "tests/support/peers/Peers.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace zolbin::test {

// A CA and, signed by it, certificates for localhost and 127.0.0.1 (one of them expired) and one for another
// name.
class TestCertificates
{
public:
    TestCertificates()
    {
        std::ofstream(folder.file("good.cnf")) << "subjectAltName=DNS:localhost,IP:127.0.0.1\n";
        std::ofstream(folder.file("other.cnf")) << "subjectAltName=DNS:other.example\n";
        std::ofstream(folder.file("expired.cnf")) << "subjectAltName=DNS:localhost,IP:127.0.0.1\n";
        const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
        std::string script = "cd '" + folder.path() + "' && openssl req -x509" + key +
                             "-keyout ca.key -out ca.pem -days 2 -subj /CN=Zolbin-Test-CA 2>/dev/null";
        // "-days -1": valid until a day before it was made.
        for (const char* name : {"good", "other", "expired"}) {
            const std::string n = name;
            const std::string days = n == "expired" ? "-1" : "2";
            script += " && openssl req" + key + "-keyout " + n + ".key -out " + n + ".csr -subj /CN=" + n +
                      " 2>/dev/null && openssl x509 -req -in " + n + ".csr -CA ca.pem -CAkey ca.key " +
                      "-CAcreateserial -days " + days + " -extfile " + n + ".cnf -out " + n +
                      ".pem 2>/dev/null";
        }
        made = std::system(script.c_str()) == 0;
    }
    std::string ca() const { return folder.file("ca.pem"); }
    std::vector<std::string> serverOptions(const std::string& name) const
    {
        return {"--cert", folder.file(name + ".pem"), "--key", folder.file(name + ".key")};
    }

    PeerFolder folder;
    bool made = false;
};

} // namespace zolbin::test
