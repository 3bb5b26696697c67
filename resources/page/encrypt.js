// Opens the sealed address of an encrypted bookmark page with the password:
// PBKDF2-HMAC-SHA256 gives the AES-256-GCM key (salt and iteration count come
// with the payload), the browser's Web Crypto API does the work. A wrong
// password reveals nothing but the warning.
'use strict';

var webdevencrypt = (function () {
  function fromBase64(text) {
    var raw = atob(text);
    var bytes = new Uint8Array(raw.length);
    for (var i = 0; i < raw.length; i++) bytes[i] = raw.charCodeAt(i);
    return bytes;
  }

  async function open(payloadText, password) {
    var payload = JSON.parse(payloadText);
    if (payload.version !== 1) throw new Error('unknown payload version');
    var material = await crypto.subtle.importKey('raw', new TextEncoder().encode(password), 'PBKDF2', false,
                                                  ['deriveKey']);
    var key = await crypto.subtle.deriveKey(
        {name: 'PBKDF2', hash: 'SHA-256', salt: fromBase64(payload.salt), iterations: payload.iterations},
        material, {name: 'AES-GCM', length: 256}, false, ['decrypt']);
    var plain = await crypto.subtle.decrypt({name: 'AES-GCM', iv: fromBase64(payload.nonce)}, key,
                                            fromBase64(payload.ciphertext));
    return new TextDecoder('utf-8', {fatal: true}).decode(plain);
  }

  // Only web addresses become links; anything else is shown as text.
  function show(target, address) {
    var link = null;
    try {
      var url = new URL(address);
      if (url.protocol === 'http:' || url.protocol === 'https:') link = document.createElement('a');
    } catch (e) {
      link = null;
    }
    var node = link || document.createElement('span');
    if (link) {
      link.href = address;
      link.rel = 'noopener noreferrer';
    }
    node.textContent = address;
    target.replaceChildren(node);
  }

  async function setDecrypt(sourceId, targetId, passwordId) {
    var target = document.getElementById(targetId);
    var warning = document.getElementById('decryptWarning');
    var passwordField = document.getElementById(passwordId);
    target.replaceChildren();
    warning.hidden = true;
    try {
      show(target, await open(document.getElementById(sourceId).value, passwordField.value));
    } catch (e) {
      warning.hidden = false;
    }
    passwordField.value = '';
  }

  document.addEventListener('DOMContentLoaded', function () {
    document.getElementById('decryptForm').addEventListener('submit', function (event) {
      event.preventDefault();
      setDecrypt('originalContent', 'decryptedContent', 'passcode');
    });
  });

  return {setDecrypt: setDecrypt};
})();
