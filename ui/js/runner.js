// run(func, data, options): sends one command and makes its reply known to the
// user. Every reply is logged and shown in the status bar; a toast shows it
// too, except a success the user did not ask for directly (window plumbing,
// the loads at start and the refresh after an action), which would only be
// noise. Failures always get a toast.
//
// options: label / labelArgs (text key of what is asked, default "cmd.<func>"),
//          quiet (no toast on success), reply (false: no reply expected),
//          describe(result) -> {tone, lines} to word a reply that is no plain
//          success or failure (a cancelled chooser, "openUrl").

import { noticeFor } from './notices.js';

export function createRunner({ bridge, notices, i18n }) {
  const { t } = i18n;

  bridge.onLateReply((result) => {
    const notice = noticeFor(result, t('notice.late', { label: t(`cmd.${result.func}`) }), t);
    notices.show(notice);
  });

  return async function run(func, data = {}, options = {}) {
    const labelKey = options.label ?? `cmd.${func}`;
    const labelArgs = options.labelArgs ?? {};
    const result = await bridge.call(func, data, { reply: options.reply, meta: { labelKey, labelArgs } });
    if (result.noReply) return result;
    const notice = noticeFor(result, t(labelKey, labelArgs), t);
    const described = result.error ? null : options.describe?.(result);
    if (described) Object.assign(notice, described);
    notices.show(notice, { toast: !(options.quiet && notice.tone !== 'error') });
    return result;
  };
}
