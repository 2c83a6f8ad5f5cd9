// Veilport's bridge. The program starts the browser with this document and a query:
//   ?ssl=&proxy=IP&port=PORT  use the HTTP proxy IP:PORT for HTTP, HTTPS and FTP
//   ?clear                    back to a direct connection
// The document applies the query to the browser's preferences and closes its window.
// Anything else (a malformed address or port) leaves the settings as they were.
var VeilportBridge = {
    PROTOCOLS: ["http", "ssl", "ftp"],

    // The command that a query asks for: {action: "clear"}, {action: "proxy", host, port},
    // or null when the query is not one of the two forms.
    parseQuery: function (query) {
        if (query.charAt(0) == "?")
            query = query.substring(1);
        if (query == "clear")
            return { action: "clear" };

        var fields = {};
        var parts = query.split("&");
        for (var i = 0; i < parts.length; i++) {
            var eq = parts[i].indexOf("=");
            var name = eq < 0 ? parts[i] : parts[i].substring(0, eq);
            var value = eq < 0 ? "" : parts[i].substring(eq + 1);
            try {
                value = decodeURIComponent(value);
            } catch (e) {
                return null;
            }
            fields[name] = value;
        }
        var has = function (key) { return Object.prototype.hasOwnProperty.call(fields, key); };
        if (!has("proxy") || !has("port"))
            return null;

        var host = fields["proxy"];
        var portText = fields["port"];
        if (!/^[A-Za-z0-9._\-]+$/.test(host))
            return null;
        if (!/^[0-9]{1,5}$/.test(portText))
            return null;
        var port = parseInt(portText, 10);
        if (port < 1 || port > 65535)
            return null;
        return { action: "proxy", host: host, port: port };
    },

    // Writes the command into the "network.proxy." preferences and saves them at once: the
    // browser may have been started only for this and end right after.
    apply: function (command) {
        var service = Components.classes["@mozilla.org/preferences-service;1"]
                                .getService(Components.interfaces.nsIPrefService);
        var branch = service.getBranch("network.proxy.");
        if (command.action == "proxy") {
            for (var i = 0; i < this.PROTOCOLS.length; i++) {
                branch.setCharPref(this.PROTOCOLS[i], command.host);
                branch.setIntPref(this.PROTOCOLS[i] + "_port", command.port);
            }
            branch.setBoolPref("share_proxy_settings", true);
            branch.setIntPref("type", 1); // manual configuration
        } else {
            // Direct connection. The server entries stay, so a proxy of the user's own that
            // was there before can be switched on again by hand.
            branch.setIntPref("type", 0);
        }
        service.savePrefFile(null);
    },

    onLoad: function (win) {
        var command = null;
        try {
            command = this.parseQuery(String(win.location.search || ""));
            if (command)
                this.apply(command);
        } catch (e) {
            Components.utils.reportError(e);
        }
        win.close();
    }
};
