// Starts vemlo-lsp for FoxPro files and hands it the settings of the workspace.
const vscode = require('vscode');
const { LanguageClient, TransportKind } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const config = vscode.workspace.getConfiguration('vemlo');
  const serverOptions = {
    command: config.get('serverPath') || 'vemlo-lsp',
    transport: TransportKind.stdio,
  };
  const clientOptions = {
    documentSelector: [{ scheme: 'file', language: 'foxpro' }],
    initializationOptions: {
      codePage: config.get('codePage'),
      registry: config.get('registry') || undefined,
      options: config.get('options') || {},
    },
  };
  client = new LanguageClient('vemlo', 'vemlo (FoxPro)', serverOptions, clientOptions);
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
