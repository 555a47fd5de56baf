#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: the QBR20G setup team
# MIT License (see LICENSE)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: bridge_info
short_description: The QBR20G bridges on the managed host's wire, with their present network
version_added: 1.0.0
description:
  - Finds the QBR20G Wi-Fi client bridges plugged into the managed host's wired Ethernet ports
    and reads each one's present SSID and security from a survey of the air, with
    C(qbr20g-cli show) on that host. Nothing is written.
  - Discovery runs on every usable wired adapter at once (or on I(adapter) only); the surveys
    of the bridges run at the same time and take about ten seconds.
author:
  - QBR20G setup team (@qbr20g)
requirements:
  - C(qbr20g-cli) 5.0.32 or later on the managed host, with its link helper installed
options:
  bridges:
    description:
      - Only these bridges, by MAC address (colons, dashes or bare hex); each must answer.
      - Unless given, every bridge that answers.
    type: list
    elements: str
    aliases: [bridge]
  expect:
    description:
      - Without I(bridges), bridges that must be among those that answer; one that does not
        fails the task (the others are still returned).
    type: list
    elements: str
  adapter:
    description:
      - The wired adapter of the managed host to use; the others are not tried.
    type: str
  parallel:
    description:
      - Survey at most this many bridges at once (1 to 64); the command line's default is 16.
    type: int
  cli_path:
    description:
      - The C(qbr20g-cli) program, a name looked up on the path or a path.
    type: path
    default: qbr20g-cli
notes:
  - With no bridge answering and none expected, I(bridges) is an empty list and the task
    succeeds.
seealso:
  - module: qbr20g.bridge.wifi
attributes:
  check_mode:
    support: full
    description: Reads only; runs the same in check mode.
  diff_mode:
    support: none
    description: Changes nothing, so there is nothing to show.
"""

EXAMPLES = r"""
- name: Every bridge on the site's wire
  qbr20g.bridge.bridge_info:
  register: found

- name: Name each bridge and its network
  ansible.builtin.debug:
    msg: "{{ item.bridge }} on {{ item.adapter }}: {{ item.ssid }} ({{ item.security }})"
  loop: "{{ found.bridges }}"

- name: The bridges that are not on the office network yet
  ansible.builtin.set_fact:
    strays: "{{ found.bridges | rejectattr('ssid', 'equalto', 'Office') | list }}"
"""

RETURN = r"""
bridges:
  description:
    - One row per bridge, as C(qbr20g-cli --json show) prints it, sorted by adapter, then MAC.
    - Each row is also a fleet entry for C(qbr20g-cli configure --from).
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
      description: C(shown), or C(failed), C(silent) (expected, did not answer),
        C(interrupted), C(not-started).
      type: str
      sample: shown
    ssid:
      description:
        - The SSID the bridge is set to, as text (UTF-8, else read as Latin-1); null unless
          shown.
      type: str
      sample: Office
    ssid_hex:
      description: The SSID's bytes in lower-case hex.
      type: str
      sample: 4f6666696365
    security:
      description: Its security, C(open), C(wep), C(wpa-psk) or C(wpa2-psk).
      type: str
      sample: wpa2-psk
    security_text:
      description: Its security in the wizard's words.
      type: str
      sample: WPA2-PSK
    message:
      description: Why a bridge was not shown, and what to try.
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
    COMMON_ARGUMENT_SPEC, EXIT_DONE, EXIT_NO_BRIDGE, bridge_options, failure_message, run_cli,
    target_options)


def main():
    argument_spec = dict(
        bridges=dict(type="list", elements="str", aliases=["bridge"]),
        expect=dict(type="list", elements="str"),
    )
    argument_spec.update(COMMON_ARGUMENT_SPEC)
    module = AnsibleModule(argument_spec=argument_spec, supports_check_mode=True,
                           mutually_exclusive=[("bridges", "expect")])
    params = module.params
    if params["bridges"]:
        targets = bridge_options(params["bridges"])
    else:
        targets = ["--all"] + bridge_options(params["expect"])
    run = run_cli(module, ["show"] + targets + target_options(module))
    result = dict(changed=False, bridges=run.rows, rc=run.status)
    none_expected = not params["bridges"] and not params["expect"]
    if run.status == EXIT_DONE or (run.status == EXIT_NO_BRIDGE and none_expected):
        module.exit_json(**result)
    module.fail_json(msg=failure_message(run), **result)


if __name__ == "__main__":
    main()
