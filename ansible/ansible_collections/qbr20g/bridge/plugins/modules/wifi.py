#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: the QBR20G setup team
# MIT License (see LICENSE)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: wifi
short_description: Put QBR20G bridges on a Wi-Fi network
version_added: 1.0.0
description:
  - Writes a Wi-Fi network's name and security into QBR20G Wi-Fi client bridges that are plugged
    into the managed host's wired Ethernet ports, with C(qbr20g-cli configure) on that host.
  - Works on one bridge, a list of bridges, or every bridge that answers. The bridges are
    found with one discovery on every usable wired adapter at once (or on I(adapter) only), and
    written at the same time, at most I(parallel) at once.
  - Every check of the command line runs for every bridge before any frame is sent; a value
    that fails one fails the task and nothing is written.
  - A bridge reports its SSID and security but never its WEP keys or passphrase, so a change
    of the secret alone cannot be seen. With C(update_secret=always) every bridge is written
    and the task is changed; with C(update_secret=on_change) a bridge whose SSID and security
    are already the new ones is left alone, whatever its secret.
  - Secrets reach C(qbr20g-cli) on its standard input, never on a command line, and are never
    logged.
author:
  - QBR20G setup team (@qbr20g)
requirements:
  - C(qbr20g-cli) 5.0.32 or later on the managed host, with its link helper installed
options:
  bridges:
    description:
      - The bridges to write, by MAC address (colons, dashes or bare hex).
      - Each one must answer; one that does not fails the task.
      - Exactly one of I(bridges) and I(all) is given.
    type: list
    elements: str
    aliases: [bridge]
  all:
    description:
      - Write every bridge that answers on the usable adapters (or on I(adapter)).
      - With no bridge answering, the task fails.
    type: bool
    default: false
  expect:
    description:
      - With I(all), bridges that must be among those that answer; one that does not fails the
        task (the others are still written).
    type: list
    elements: str
  adapter:
    description:
      - The wired adapter of the managed host to use; the others are not tried.
      - Unless given, every usable wired adapter is searched at once.
    type: str
  ssid:
    description:
      - The network's name, at most 32 bytes.
      - The survey's stand-in for a hidden network, C([HiddenSSID]), is refused; give the
        network's real name and C(hidden=true).
    type: str
    required: true
  hidden:
    description:
      - The network does not broadcast its name.
    type: bool
    default: false
  security:
    description:
      - The network's security, in the words that the rows of C(qbr20g-cli) print.
    type: str
    required: true
    choices: [open, wep, wpa-psk, wpa2-psk]
  wep_format:
    description:
      - How the WEP keys are written, hex digits (10 or 26) or text (5 or 13 characters).
      - The command line's default is C(hex).
    type: str
    choices: [hex, ascii]
  key_index:
    description:
      - The WEP key that the bridges use; the command line's default is 1.
    type: int
    choices: [1, 2, 3, 4]
  wep_keys:
    description:
      - The WEP keys 1 to 4, in order; an empty string leaves a key unset.
      - Needed with C(security=wep); the key that I(key_index) chooses must be given.
    type: list
    elements: str
  passphrase:
    description:
      - The WPA or WPA2 passphrase, 8 to 63 characters or 64 hex digits.
      - Needed with C(security=wpa-psk) and C(security=wpa2-psk).
    type: str
  update_secret:
    description:
      - C(always) writes every bridge, so a new key or passphrase always reaches it.
      - C(on_change) writes only the bridges whose SSID or security differ from the new ones
        (C(qbr20g-cli configure --unless-same)); a new key or passphrase alone is not written.
    type: str
    choices: [always, on_change]
    default: always
  parallel:
    description:
      - Work on at most this many bridges at once (1 to 64); the command line's default is 16.
    type: int
  cli_path:
    description:
      - The C(qbr20g-cli) program, a name looked up on the path or a path.
    type: path
    default: qbr20g-cli
notes:
  - Check mode runs C(qbr20g-cli configure --dry-run), which finds the bridges and reads each
    one's present SSID and security from its survey (about ten seconds), and sends no
    settings.
  - Diff mode shows, per bridge, the present SSID and security and the new ones. With
    C(update_secret=always) and no check mode, it costs one more survey before the write.
  - Several managed hosts may each have their own wire; the bridges of one host are those on
    its own wired ports.
seealso:
  - module: qbr20g.bridge.bridge_info
attributes:
  check_mode:
    support: full
    description: Runs C(qbr20g-cli configure --dry-run); nothing is written.
  diff_mode:
    support: full
    description: Present and new SSID and security, per bridge.
"""

EXAMPLES = r"""
- name: Put every bridge of the site on the office network
  qbr20g.bridge.wifi:
    all: true
    ssid: Office
    security: wpa2-psk
    passphrase: "{{ vault_office_passphrase }}"
    update_secret: on_change

- name: One bridge, named, on a hidden WEP network, key 2 in hex
  qbr20g.bridge.wifi:
    bridge: 02:00:00:00:0b:01
    adapter: eth1
    ssid: Lab
    hidden: true
    security: wep
    key_index: 2
    wep_keys: ["", "00112233445566778899AABBCC"]

- name: The bridges that bridge_info found, each to the network of its site
  qbr20g.bridge.wifi:
    bridges: "{{ found.bridges | map(attribute='bridge') | list }}"
    ssid: "{{ site_ssid }}"
    security: open
"""

RETURN = r"""
bridges:
  description:
    - One row per bridge, as C(qbr20g-cli --json configure) prints it, sorted by adapter, then
      MAC.
  returned: always
  type: list
  elements: dict
  contains:
    bridge:
      description: The bridge's MAC address.
      type: str
      sample: 02:00:00:00:0b:01
    adapter:
      description: The adapter it answered on; null for a bridge that did not answer.
      type: str
      sample: eth0
    result:
      description:
        - C(saved) (written and applied), C(planned) (check mode), C(unchanged)
          (C(update_secret=on_change), already on the network), C(failed), C(silent) (named,
          did not answer), C(interrupted) or C(not-started).
      type: str
      sample: saved
    present_ssid:
      description: The bridge's SSID before the task, null when it was not read.
      type: str
      sample: Old
    present_ssid_hex:
      description: Its bytes in lower-case hex.
      type: str
      sample: 4f6c64
    present_security:
      description: Its security before the task (C(open), C(wep), C(wpa-psk), C(wpa2-psk)).
      type: str
      sample: open
    ssid:
      description: The new SSID.
      type: str
      sample: Office
    ssid_hex:
      description: The new SSID's bytes in lower-case hex.
      type: str
      sample: 4f6666696365
    security:
      description: The new security.
      type: str
      sample: wpa2-psk
    security_text:
      description: The new security in the wizard's words.
      type: str
      sample: WPA2-PSK
    changed:
      description:
        - C(yes) when the SSID or security differ, C(no) when both are the same and the network
          is open, C(unknown) otherwise (the secret is never reported).
      type: str
      sample: "yes"
    message:
      description: Why a bridge failed, was left alone or did not answer, and what to try.
      type: str
      sample: null
rc:
  description: The exit status of C(qbr20g-cli).
  returned: always
  type: int
  sample: 0
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.qbr20g.bridge.plugins.module_utils.qbr20g_cli import (
    COMMON_ARGUMENT_SPEC, EXIT_DONE, bridge_options, failure_message, run_cli, target_options)


def secrets_text(module):
    """The secrets as qbr20g-cli reads them on its standard input, or None."""
    lines = []
    params = module.params
    if params["security"] == "wep":
        keys = params["wep_keys"] or []
        if len(keys) > 4:
            module.fail_json(msg="wep_keys holds %d keys; a bridge has 4" % len(keys))
        for index, key in enumerate(keys):
            if key:
                lines.append(("key%d" % (index + 1), key))
        if not lines:
            module.fail_json(msg="wep_keys holds no key; give at least the key that key_index "
                                 "chooses (key 1 unless given)")
    elif params["security"] in ("wpa-psk", "wpa2-psk"):
        lines.append(("passphrase", params["passphrase"]))
    for name, value in lines:
        if "\n" in value or "\r" in value:
            what = "passphrase" if name == "passphrase" else "WEP key %s" % name[3]
            module.fail_json(msg="the %s holds a line break; it must be one line" % what)
    if not lines:
        return None
    return "".join("%s=%s\n" % line for line in lines)


def configure_args(module, secrets):
    params = module.params
    args = ["configure", "--ssid", params["ssid"], "--security", params["security"]]
    if params["hidden"]:
        args.append("--hidden")
    if params["wep_format"]:
        args += ["--wep-format", params["wep_format"]]
    if params["key_index"] is not None:
        args += ["--key-index", str(params["key_index"])]
    if params["update_secret"] == "on_change":
        args.append("--unless-same")
    if module.check_mode:
        args.append("--dry-run")
    if secrets is not None:
        args += ["--secrets-file", "-"]
    return args + target_args(module) + target_options(module)


def target_args(module):
    if module.params["all"]:
        return ["--all"] + bridge_options(module.params["expect"])
    return bridge_options(module.params["bridges"])


def settings_text(ssid, security):
    if ssid is None and security is None:
        return "not read\n"
    return "ssid: %s\nsecurity: %s\n" % (ssid if ssid is not None else "(not read)",
                                         security if security is not None else "(not read)")


def diffs(rows, present_rows):
    """Present and new settings of each bridge that is (or would be) written."""
    shown = dict((row.get("bridge"), row) for row in present_rows if row.get("result") == "shown")
    result = []
    for row in rows:
        if row.get("result") not in ("saved", "planned"):
            continue
        present_ssid, present_security = row.get("present_ssid"), row.get("present_security")
        if present_ssid is None and present_security is None and row.get("bridge") in shown:
            present_ssid = shown[row["bridge"]].get("ssid")
            present_security = shown[row["bridge"]].get("security")
        where = "%s on %s" % (row.get("bridge"), row.get("adapter"))
        result.append(dict(before_header="%s (present)" % where,
                           after_header="%s (new)" % where,
                           before=settings_text(present_ssid, present_security),
                           after=settings_text(row.get("ssid"), row.get("security"))))
    return result


def main():
    argument_spec = dict(
        bridges=dict(type="list", elements="str", aliases=["bridge"]),
        all=dict(type="bool", default=False),
        expect=dict(type="list", elements="str"),
        ssid=dict(type="str", required=True),
        hidden=dict(type="bool", default=False),
        security=dict(type="str", required=True, choices=["open", "wep", "wpa-psk", "wpa2-psk"]),
        wep_format=dict(type="str", choices=["hex", "ascii"]),
        key_index=dict(type="int", choices=[1, 2, 3, 4]),
        wep_keys=dict(type="list", elements="str", no_log=True),
        passphrase=dict(type="str", no_log=True),
        update_secret=dict(type="str", default="always", choices=["always", "on_change"]),
    )
    argument_spec.update(COMMON_ARGUMENT_SPEC)
    module = AnsibleModule(
        argument_spec=argument_spec,
        supports_check_mode=True,
        required_if=[
            ("security", "wep", ["wep_keys"]),
            ("security", "wpa-psk", ["passphrase"]),
            ("security", "wpa2-psk", ["passphrase"]),
        ],
    )
    params = module.params
    if bool(params["bridges"]) == params["all"]:
        module.fail_json(msg="give either bridges (one or more MACs) or all: true")
    if params["expect"] and not params["all"]:
        module.fail_json(msg="expect names the bridges that must answer with all: true; "
                             "without it, list them in bridges")
    secrets = secrets_text(module)

    # The bridge does not report its settings as it takes new ones: in diff mode, read them
    # first where the write itself does not.
    present_rows = []
    if module._diff and not module.check_mode and params["update_secret"] == "always":
        shown = run_cli(module, ["show"] + target_args(module) + target_options(module))
        present_rows = shown.rows

    run = run_cli(module, configure_args(module, secrets), secrets)
    written = [row for row in run.rows if row.get("result") == "saved"]
    result = dict(
        changed=bool(written) or (module.check_mode and
                                  any(row.get("result") == "planned" for row in run.rows)),
        bridges=run.rows,
        rc=run.status,
    )
    if module._diff:
        result["diff"] = diffs(run.rows, present_rows)
    if run.status != EXIT_DONE:
        module.fail_json(msg=failure_message(run), **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
