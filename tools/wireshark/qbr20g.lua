-- Wireshark dissector for the QBR20G set-up link: raw Ethernet frames of EtherType 0x8888
-- between the setup wizard and the bridge. Names each frame's code, shows param and length,
-- the payload text, the parts of the bridge's site-survey report and each settings line of a
-- write, with WEP keys and passphrase masked.
--
--   tshark -X lua_script:tools/wireshark/qbr20g.lua -r session.pcapng -V
--   wireshark -X lua_script:tools/wireshark/qbr20g.lua
-- or copy the file to ~/.local/lib/wireshark/plugins/ to load it always.

local qbr20g = Proto("qbr20g", "QBR20G bridge set-up link")

-- After the Ethernet header: code (4), param (4), length (2), all little-endian.
local HEADER_SIZE = 10
local REPORT_PREFIX_SIZE = 2

local CMD_PROBE = 0x00000000
local CMD_BEGIN = 0x00000100 -- and RSP_BEGIN
local CMD_WRITE = 0x00010101
local RSP_WRITE = 0x00000101
local CMD_EXECUTE = 0x00020102 -- and RSP_EXECUTE_DATA
local RSP_EXECUTE_ACK = 0x00010102
local CMD_DONE = 0x00030102

local SECURITY = { [0] = "Disable", [1] = "WEP", [2] = "WPA-PSK", [3] = "WPA2-PSK" }

local COMMANDS = {
    ["9107:"] = "start a site survey",
    ["9100:"] = "send the site-survey report",
    ["9002:"] = "apply the settings written before",
}

local SETTINGS = {
    [7000] = "SSID",
    [7003] = "security mode",
    [7004] = "key length",
    [7005] = "WEP key index",
    [7006] = "WEP key 1",
    [7007] = "WEP key 2",
    [7008] = "WEP key 3",
    [7009] = "WEP key 4",
    [7018] = "cipher (0 TKIP, 1 AES)",
    [7019] = "WPA passphrase",
}
local SECRET_SETTINGS = { [7006] = true, [7007] = true, [7008] = true, [7009] = true, [7019] = true }

local f = qbr20g.fields
f.code = ProtoField.uint32("qbr20g.code", "Code", base.HEX)
f.kind = ProtoField.string("qbr20g.kind", "Frame kind")
f.param = ProtoField.uint32("qbr20g.param", "Param", base.DEC)
f.length = ProtoField.uint16("qbr20g.length", "Length", base.DEC)
f.payload = ProtoField.none("qbr20g.payload", "Payload")
f.text = ProtoField.string("qbr20g.text", "Payload text")
f.fill = ProtoField.none("qbr20g.fill", "Fill after the payload")
f.command = ProtoField.string("qbr20g.command", "Command")
f.report = ProtoField.none("qbr20g.report", "Site-survey report")
f.report_ssid = ProtoField.string("qbr20g.report.ssid", "SSID")
f.report_secmode = ProtoField.uint8("qbr20g.report.secmode", "SECMODE", base.DEC, SECURITY)
f.survey = ProtoField.none("qbr20g.survey", "SURVEY")
f.survey_count = ProtoField.uint32("qbr20g.survey.count", "Networks", base.DEC)
f.entry = ProtoField.string("qbr20g.survey.entry", "Network")
f.entry_ssid = ProtoField.string("qbr20g.survey.ssid", "SSID")
f.entry_mac = ProtoField.string("qbr20g.survey.mac", "MAC")
f.entry_channel = ProtoField.string("qbr20g.survey.channel", "Channel")
f.entry_mode = ProtoField.string("qbr20g.survey.mode", "Mode")
f.entry_security = ProtoField.uint8("qbr20g.survey.security", "Security", base.DEC, SECURITY)
f.entry_signal = ProtoField.string("qbr20g.survey.signal", "Signal")
f.settings = ProtoField.none("qbr20g.settings", "Settings")
f.setting = ProtoField.string("qbr20g.setting", "Setting")
f.setting_number = ProtoField.uint16("qbr20g.setting.number", "Number", base.DEC)
f.setting_value = ProtoField.string("qbr20g.setting.value", "Value")

local e_truncated = ProtoExpert.new("qbr20g.truncated", "Frame shorter than the link header",
    expert.group.PROTOCOL, expert.severity.ERROR)
local e_length = ProtoExpert.new("qbr20g.length.beyond", "Length field runs past the end of the frame",
    expert.group.PROTOCOL, expert.severity.WARN)
local e_code = ProtoExpert.new("qbr20g.code.unknown", "Unknown code",
    expert.group.PROTOCOL, expert.severity.WARN)
local e_entry = ProtoExpert.new("qbr20g.survey.incomplete", "Survey entry without its separators",
    expert.group.PROTOCOL, expert.severity.WARN)
qbr20g.experts = { e_truncated, e_length, e_code, e_entry }

local eth_dst = Field.new("eth.dst")
local eth_src = Field.new("eth.src")

-- The wizard's adapters announce themselves with broadcast probes; a unicast probe to one of
-- them is a bridge's answer. Filled in capture order, so the first pass sees every probe first.
local wizard_macs = {}
function qbr20g.init()
    wizard_macs = {}
end

-- The code names a request or its reply; two reply codes equal request codes. The wizard's
-- requests with those codes carry no payload (length 0), and the wizard refuses such a reply
-- unless its length is 2 or its payload size, so the length field tells them apart.
local function kind_of(code, length)
    if code == CMD_PROBE then return "CMD_PROBE" end
    if code == CMD_BEGIN then return length == 0 and "CMD_BEGIN" or "RSP_BEGIN" end
    if code == CMD_WRITE then return "CMD_WRITE" end
    if code == RSP_WRITE then return "RSP_WRITE" end
    if code == CMD_EXECUTE then return length == 0 and "CMD_EXECUTE" or "RSP_EXECUTE_DATA" end
    if code == RSP_EXECUTE_ACK then return "RSP_EXECUTE_ACK" end
    if code == CMD_DONE then return "CMD_DONE" end
    return nil
end

local ESCAPES = {
    [0] = "\\0", [9] = "\\t", [10] = "\\n", [11] = "\\v", [12] = "\\f", [13] = "\\r",
    [34] = "\\\"", [92] = "\\\\",
}

-- Length of the valid UTF-8 sequence starting at byte i of s, or nil.
local function utf8_sequence(s, i)
    local lead = s:byte(i)
    local size = (lead >= 0xc2 and lead <= 0xdf and 2) or (lead >= 0xe0 and lead <= 0xef and 3)
        or (lead >= 0xf0 and lead <= 0xf4 and 4) or nil
    if not size or i + size - 1 > #s then return nil end
    for k = i + 1, i + size - 1 do
        local b = s:byte(k)
        if b < 0x80 or b > 0xbf then return nil end
    end
    return size
end

-- Printable text of raw bytes: control characters as C escapes, other bytes that are not UTF-8
-- as \xHH, so that no byte of the payload is hidden or misread.
local function escaped(s)
    local out = {}
    local i = 1
    while i <= #s do
        local b = s:byte(i)
        if ESCAPES[b] then
            out[#out + 1] = ESCAPES[b]
            i = i + 1
        elseif b >= 0x20 and b < 0x7f then
            out[#out + 1] = string.char(b)
            i = i + 1
        else
            local size = b >= 0x80 and utf8_sequence(s, i)
            if size then
                out[#out + 1] = s:sub(i, i + size - 1)
                i = i + size
            else
                out[#out + 1] = string.format("\\x%02x", b)
                i = i + 1
            end
        end
    end
    return table.concat(out)
end

-- Adds the settings lines of a write ("7000 :" ... "7022 :0", each ended by a line feed) and
-- returns the payload text with the secrets masked.
local function dissect_settings(tree, tvb, offset, text)
    local lines = tree:add(f.settings, tvb(offset, #text))
    local shown = {}
    local count = 0
    local position = 1
    while position <= #text do
        local stop = text:find("\n", position, true)
        local line_end = stop or #text
        local line = text:sub(position, stop and stop - 1 or #text)
        local range = tvb(offset + position - 1, line_end - position + 1)
        local number, value = line:match("^(%d%d%d%d) :(.*)$")
        if number then
            number = tonumber(number)
            local display = escaped(value)
            if SECRET_SETTINGS[number] and #value > 0 then
                display = string.format("******** (masked, %d bytes)", #value)
            end
            local line_text = string.format("%d :%s", number, display)
            local item = lines:add(f.setting, range, line_text)
            if SETTINGS[number] then item:append_text(" [" .. SETTINGS[number] .. "]") end
            item:add(f.setting_number, range(0, 4), number)
            item:add(f.setting_value, range, display)
            shown[#shown + 1] = line_text .. (stop and "\\n" or "")
        else
            lines:add(f.setting, range, escaped(line))
            shown[#shown + 1] = escaped(line) .. (stop and "\\n" or "")
        end
        count = count + 1
        position = line_end + 1
    end
    lines:append_text(string.format(" (%d lines)", count))
    return table.concat(shown), count
end

-- The site-survey report: "SSID:" present SSID, a separator, the next setting line ("7001 ");
-- "SECMODE:" one digit; "SURVEY:", an optional form feed, then entries of SSID, form feed, MAC,
-- channel, mode letters, security digit and signal, comma-separated, each ended by a vertical tab.
local function dissect_report(tree, tvb, offset, text)
    local report = tree:add(f.report, tvb(offset, #text))
    local summary = {}

    local ssid_at = text:find("SSID:", 1, true)
    if ssid_at then
        local first = ssid_at + 5
        local next_line = text:find("7001 ", first, true)
        local last = next_line and next_line - 2 or ((text:find("[\n\r]", first) or #text + 1) - 1)
        if last < first - 1 then last = first - 1 end
        local ssid = escaped(text:sub(first, last))
        report:add(f.report_ssid, tvb(offset + ssid_at - 1, last - ssid_at + 1), ssid)
        summary[#summary + 1] = "SSID " .. ssid
    end

    local secmode_at = text:find("SECMODE:", 1, true)
    if secmode_at and secmode_at + 8 <= #text then
        local digit = text:byte(secmode_at + 8) - 48
        if digit >= 0 and digit <= 9 then
            report:add(f.report_secmode, tvb(offset + secmode_at - 1, 9), digit)
            summary[#summary + 1] = SECURITY[digit] or ("SECMODE " .. digit)
        end
    end

    local survey_at = text:find("SURVEY:", 1, true)
    if survey_at then
        local q = survey_at + 7
        if text:byte(q) == 12 then q = q + 1 end
        local survey = report:add(f.survey, tvb(offset + survey_at - 1, #text - survey_at + 1))
        local count = 0
        while q <= #text do
            local stop = text:find("\v", q, true)
            if not stop then break end
            local entry = text:sub(q, stop - 1)
            local range = tvb(offset + q - 1, stop - q + 1)
            local ssid, mac, channel, mode, security, signal =
                entry:match("^(.-)\f([^,]*),([^,]*),([^,]*),([^,]*),(.*)$")
            if ssid then
                local name = #ssid > 0 and escaped(ssid) or "[HiddenSSID]"
                local security_digit = tonumber(security:sub(1, 1))
                local item = survey:add(f.entry, range, string.format("%s, %s, channel %s, %s, %s, %s%%",
                    name, escaped(mac), escaped(channel), escaped(mode),
                    SECURITY[security_digit] or escaped(security), escaped(signal)))
                item:add(f.entry_ssid, range, name)
                item:add(f.entry_mac, range, escaped(mac))
                item:add(f.entry_channel, range, escaped(channel))
                item:add(f.entry_mode, range, escaped(mode))
                if security_digit then
                    item:add(f.entry_security, range, security_digit)
                end
                item:add(f.entry_signal, range, escaped(signal) .. "%")
            else
                survey:add(f.entry, range, escaped(entry)):add_proto_expert_info(e_entry)
            end
            count = count + 1
            q = stop + 1
        end
        survey:add(f.survey_count, tvb(offset + survey_at - 1, 7), count):set_generated()
        summary[#summary + 1] = string.format("%d networks", count)
    end
    return table.concat(summary, ", ")
end

function qbr20g.dissector(tvb, pinfo, tree)
    pinfo.cols.protocol = "QBR20G"
    local size = tvb:len()
    local root = tree:add(qbr20g, tvb())
    if size < HEADER_SIZE then
        root:add_proto_expert_info(e_truncated)
        pinfo.cols.info = "QBR20G frame shorter than its header"
        return size
    end

    local code = tvb(0, 4):le_uint()
    local length = tvb(8, 2):le_uint()
    local kind = kind_of(code, length)
    root:add_le(f.code, tvb(0, 4))
    local kind_item = root:add(f.kind, tvb(0, 4), kind or "unknown")
    if not kind then kind_item:add_proto_expert_info(e_code) end
    root:add_le(f.param, tvb(4, 4))
    local length_item = root:add_le(f.length, tvb(8, 2))
    root:append_text(", " .. (kind or string.format("code 0x%08x", code)))

    local info = kind or string.format("Unknown code 0x%08x", code)
    local room = size - HEADER_SIZE
    local shown = length
    if length > room then
        length_item:add_proto_expert_info(e_length)
        shown = room
    end

    if code == CMD_PROBE then
        local dst = eth_dst()
        local src = eth_src()
        local dst_hex = dst and tostring(dst.range:bytes()) or ""
        if dst_hex == "FFFFFFFFFFFF" then
            if src then wizard_macs[tostring(src.range:bytes())] = true end
            -- At start-up each adapter sends a 100-byte probe to prove it can reach the wire.
            info = info .. (tvb:reported_len() + 14 == 100 and " (adapter probe)" or " (broadcast)")
        elseif wizard_macs[dst_hex] then
            info = info .. " (answer)"
        elseif src and wizard_macs[tostring(src.range:bytes())] then
            info = info .. " (unicast)"
        end
    end

    if shown > 0 then
        local payload = root:add(f.payload, tvb(HEADER_SIZE, shown))
        local raw = tvb(HEADER_SIZE, shown):raw()
        local text_offset = HEADER_SIZE
        local text = raw
        if kind == "RSP_EXECUTE_DATA" and shown >= REPORT_PREFIX_SIZE then
            -- The report's text starts after two bytes that the wizard skips.
            payload:add(tvb(HEADER_SIZE, REPORT_PREFIX_SIZE), "Report prefix (skipped)")
            text_offset = HEADER_SIZE + REPORT_PREFIX_SIZE
            text = raw:sub(REPORT_PREFIX_SIZE + 1)
        end
        local display = escaped(text)
        if kind == "CMD_WRITE" and text:match("^%d%d%d%d :") then
            local count
            display, count = dissect_settings(payload, tvb, text_offset, text)
            info = string.format("%s settings (%d lines)", info, count)
        elseif kind == "CMD_WRITE" then
            local command = text:match("^(%d%d%d%d:)")
            if command then
                local item = payload:add(f.command, tvb(text_offset, 5), command)
                if COMMANDS[command] then item:append_text(" [" .. COMMANDS[command] .. "]") end
                info = string.format("%s %s", info, command)
            end
        elseif kind == "RSP_EXECUTE_DATA" and text:find("SSID:", 1, true) then
            local summary = dissect_report(payload, tvb, text_offset, text)
            info = string.format("%s survey report: %s", info, summary)
        end
        if #text > 0 then
            payload:add(f.text, tvb(text_offset, #text), display)
        end
    end
    if HEADER_SIZE + shown < size then
        root:add(f.fill, tvb(HEADER_SIZE + shown))
    end

    pinfo.cols.info = info
    return size
end

DissectorTable.get("ethertype"):add(0x8888, qbr20g)
