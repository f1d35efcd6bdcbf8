// Calls between the page and the game's worker, either way, by name. connect(port, handlers)
// gives call(name, args, transfer): it resolves to what the other side's handler of that
// name gave (awaited), or rejects with its failure. Calls are taken in the order they were
// made; a handler that waits (the question does) lets later calls in meanwhile.
export function connect(port, handlers) {
  const waiting = new Map();
  let last = 0;
  port.addEventListener("message", async ({ data }) => {
    if ("reply" in data) {
      const { resolve, reject } = waiting.get(data.reply);
      waiting.delete(data.reply);
      if ("failure" in data) reject(new Error(data.failure));
      else resolve(data.result);
      return;
    }
    try {
      const handler = handlers[data.name];
      if (!handler) throw new Error(`no call named ${data.name}`);
      port.postMessage({ reply: data.id, result: await handler(...data.args) });
    } catch (failure) {
      port.postMessage({ reply: data.id, failure: failure.message ?? String(failure) });
    }
  });
  // A channel's port delivers nothing until started; a worker's needs no start.
  port.start?.();
  return (name, args = [], transfer = []) =>
    new Promise((resolve, reject) => {
      waiting.set(++last, { resolve, reject });
      port.postMessage({ id: last, name, args }, transfer);
    });
}
